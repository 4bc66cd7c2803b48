// Time limits for a server that stops answering, or answers too slowly to ever finish.
// No healthy server comes near them.
#pragma once
#include <winsock2.h>

// Seconds a wait for the server may last without any byte arriving (default 60; the
// environment variable VAKO_NET_TIMEOUT overrides it, which the tests use).
int NetworkTimeoutSeconds();

// The end of a whole exchange (one reply, one listing, the wait for a data connection):
// a server that drips a byte just inside the time limit is still given up on.
class WaitDeadline {
 public:
  // Twice the time limit: room for a reply that starts late and then arrives slowly.
  WaitDeadline();
  explicit WaitDeadline(DWORD milliseconds);
  // Milliseconds left, 0 once the deadline has passed.
  DWORD Left() const;

 private:
  DWORD start_, length_;
};

// 1 when the socket has something to read (data, a connection, or the peer's close)
// within the time limit and before the deadline (if any); 0 on timeout or error.
int WaitReadable(SOCKET s, const WaitDeadline* deadline = nullptr);
int WaitWritable(SOCKET s);

// Waits for the socket in slices of 100 ms so that a Stop is seen meanwhile (the first few
// milliseconds by asking the socket what it holds: see the definition). True when it can
// be read (or the deadline passed: the read that follows tells), false once Stop was
// pressed.
bool WaitReadableUnlessStopped(SOCKET s, const WaitDeadline& deadline);
// A receive on a non-blocking socket that Stop can end while it waits: -2 once Stop was
// pressed; otherwise as recv, and -1 with WSAETIMEDOUT after the deadline. Not stoppable,
// Stop is not looked at and a silent server is given up on at the time limit.
int ReceiveUnlessStopped(SOCKET s, char* buffer, int size, const WaitDeadline& deadline, bool stoppable = true);

// Waits for whichever of two sockets can be read first, within the time limit and the
// deadline. Answers 1 for the first, 2 for the second (1 when both are), 0 on timeout.
int WaitEitherReadable(SOCKET first, SOCKET second, const WaitDeadline& deadline);

// Instead of a wait before each receive (a call of its own, slow under Wine): the socket's
// receive time limit, cut to what is left of the deadline. `applied` is the limit the
// socket has now (0 for none); the option is set only when that changes. False once the
// deadline has passed or the option cannot be set.
bool LimitReceiveWait(SOCKET s, const WaitDeadline& deadline, DWORD& applied);

// Connects with the time limit applied; the socket stays blocking afterwards. 1 on success;
// on failure WSAGetLastError tells why (WSAETIMEDOUT after the time limit).
int ConnectWithTimeout(SOCKET s, const sockaddr* address, int length);
// The same for a data connection, which stays non-blocking.
int ConnectNonBlocking(SOCKET s, const sockaddr* address, int length);

// Data connections stay non-blocking from their start: a receive or a send that finds the
// socket not ready waits here, within the time limit (and the deadline, when there is
// one). The socket's own time limit options, and turning it back to blocking, would cost
// three calls more for every file, each a round trip to Wine's server. These work on a
// blocking socket too. ReceiveWithin answers as recv does, and -1 with WSAETIMEDOUT once
// the time ran out; SendAllWithin sends all of the bytes, 0 on an error or a time out.
int ReceiveWithin(SOCKET s, char* buffer, int size, const WaitDeadline* deadline = nullptr);
int SendAllWithin(SOCKET s, const char* data, size_t count);
