// Time limits for a server that stops answering. No healthy server comes near them.
#pragma once
#include <winsock2.h>

// Seconds a wait for the server may last without any byte arriving (default 60; the
// environment variable VAKO_NET_TIMEOUT overrides it, which the tests use).
int NetworkTimeoutSeconds();

// 1 when the socket has something to read (data, a connection, or the peer's close)
// within the time limit; 0 on timeout or error.
int WaitReadable(SOCKET s);
int WaitWritable(SOCKET s);

// Connects with the time limit applied; the socket stays blocking afterwards. 1 on success.
int ConnectWithTimeout(SOCKET s, const sockaddr_in& address);
