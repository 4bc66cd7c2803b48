// The one control connection: start of the sockets layer, command lines out, reply lines in,
// and the protocol log of both.
#pragma once
#include <string>

int StartSockets();
int OpenControlConnection();    // uses ControlHost, ControlPort; reads the greeting
int ReadReply();                // fills ReplyBuffer with the last line of one reply
extern std::string ReplyText;   // every line of that reply, as received
int SendCommand();              // sends CommandBuffer, then ReadReply
// SendCommand for a transfer command of a job: -1 when Stop was pressed before the first
// reply came (it is still owed: the caller aborts). In a job, meanwhile (when given) runs
// once the command has gone out, before its reply is waited for.
int SendCommandUnlessStopped(void (*meanwhile)() = nullptr);
int CloseControlConnection();
// 1 when a whole reply line has already been read off the socket and waits for ReadReply
// (under TLS: when bytes of the connection wait in the TLS layer): a wait for the socket
// alone would not see it.
int ControlReplyIsWaiting();
// 1 when bytes past the last reply line have been read off the socket (none may come
// between AUTH TLS's reply and the handshake).
int ControlHasUnreadBytes();

// Reads one whole reply without logging it or touching ReplyBuffer; line gets its last
// line as received. 1 when the reply arrived whole, 0 when the connection broke (it is
// then dropped).
int ReadReplyQuietly(std::string& line);

// Closes a control connection that broke under us: the server closed it or said 421, a
// socket call failed, or a time limit passed. While logged in this marks the session as
// lost, so that the window ends it and tells the user once.
void DropControlConnection();
int ConnectionWasLost();
void ForgetLostConnection();
// Marks the session lost again: a login again failed, and the window is to end it.
void MarkConnectionLost();
// 1 when the connection was last dropped because the server kept silent past the time
// limit, rather than closing it, resetting it or saying 421.
int LastDropWasSilence();
