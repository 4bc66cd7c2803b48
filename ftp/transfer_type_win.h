// TYPE on the control connection, sent only when the transfer mode changes.
#pragma once
#include <string>

// Puts the server in mode (1 ASCII, else binary) unless it is known to be in it. 1 when no
// command was needed or the command got a reply (judged by the caller, as before).
int SendTransferType(int mode);
// Every exchange of the control connection passes here (SendCommand), so that a TYPE, REIN
// or new login sent by any path keeps the memory right.
void NoteTransferTypeExchange(const std::string& commandLine, const std::string& reply);
// A new or closed control connection: the type is unknown again.
void ForgetTransferType();
// The type this session last had the server in ('A', 'I' or 0), kept across a lost
// connection so that a login again can put the new one in the same type.
char SessionTransferType();
void ForgetSessionTransferType();  // a new session
