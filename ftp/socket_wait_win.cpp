#include "ftp/socket_wait_win.h"

#include <cstdlib>

int NetworkTimeoutSeconds() {
  static const int seconds = [] {
    const char* text = std::getenv("VAKO_NET_TIMEOUT");
    int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : 60;
  }();
  return seconds;
}

static int WaitFor(SOCKET s, bool forWrite) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  fd_set errors;
  FD_ZERO(&errors);
  FD_SET(s, &errors);
  timeval limit{NetworkTimeoutSeconds(), 0};
  int n = select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, &errors, &limit);
  if (n <= 0) return 0;
  return FD_ISSET(s, &set) ? 1 : 0;
}

int WaitReadable(SOCKET s) { return WaitFor(s, false); }
int WaitWritable(SOCKET s) { return WaitFor(s, true); }

int ConnectWithTimeout(SOCKET s, const sockaddr_in& address) {
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  int rc = connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  int ok = rc == 0;
  if (!ok && WSAGetLastError() == WSAEWOULDBLOCK && WaitWritable(s)) {
    int error = 0;
    int length = sizeof error;
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    ok = error == 0;
  }
  u_long blocking = 0;
  ioctlsocket(s, FIONBIO, &blocking);
  return ok ? 1 : 0;
}
