// The one control connection: start of the sockets layer, command lines out, reply lines in,
// and the protocol log of both.
#pragma once

int StartSockets();
int OpenControlConnection();    // uses ControlHost, ControlPort; reads the greeting
int ReadReply();                // fills ReplyBuffer with the last line of one reply
int SendCommand();              // sends CommandBuffer, then ReadReply
int CloseControlConnection();
