#include "ftp/socket_wait_win.h"

#include <algorithm>
#include <cstdlib>

#include "app/app_state_win.h"

int NetworkTimeoutSeconds() {
  static const int seconds = [] {
    const char* text = std::getenv("VAKO_NET_TIMEOUT");
    int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : 60;
  }();
  return seconds;
}

static DWORD TimeLimitMs() { return static_cast<DWORD>(NetworkTimeoutSeconds()) * 1000; }

WaitDeadline::WaitDeadline() : WaitDeadline(2 * TimeLimitMs()) {}
WaitDeadline::WaitDeadline(DWORD milliseconds) : start_(GetTickCount()), length_(milliseconds) {}

DWORD WaitDeadline::Left() const {
  DWORD elapsed = GetTickCount() - start_;
  return elapsed >= length_ ? 0 : length_ - elapsed;
}

// The wait of one call: the time limit, cut to what is left of the deadline.
static timeval WaitOf(const WaitDeadline* deadline) {
  DWORD ms = TimeLimitMs();
  if (deadline) ms = std::min(ms, deadline->Left());
  return timeval{static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
}

// One select for the socket, readable or writable, or with an error; as select answers.
// inSet tells whether it was ready for what was asked (not merely in error).
static int SelectOne(SOCKET s, bool forWrite, const WaitDeadline* deadline, bool& inSet) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  fd_set errors;
  FD_ZERO(&errors);
  FD_SET(s, &errors);
  timeval limit = WaitOf(deadline);
  int n = select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, &errors, &limit);
  inSet = n > 0 && FD_ISSET(s, &set);
  return n;
}

static int WaitFor(SOCKET s, bool forWrite, const WaitDeadline* deadline) {
  if (deadline && deadline->Left() == 0) return 0;
  bool inSet = false;
  SelectOne(s, forWrite, deadline, inSet);
  return inSet ? 1 : 0;
}

int WaitReadable(SOCKET s, const WaitDeadline* deadline) { return WaitFor(s, false, deadline); }
int WaitWritable(SOCKET s) { return WaitFor(s, true, nullptr); }

int WaitEitherReadable(SOCKET first, SOCKET second, const WaitDeadline& deadline) {
  if (deadline.Left() == 0) return 0;
  fd_set set;
  FD_ZERO(&set);
  FD_SET(first, &set);
  FD_SET(second, &set);
  timeval limit = WaitOf(&deadline);
  if (select(0, &set, nullptr, nullptr, &limit) <= 0) return 0;
  if (FD_ISSET(first, &set)) return 1;
  return FD_ISSET(second, &set) ? 2 : 0;
}

bool LimitReceiveWait(SOCKET s, const WaitDeadline& deadline, DWORD& applied) {
  const DWORD ms = std::min(TimeLimitMs(), deadline.Left());
  if (ms == 0) return false;
  if (ms == applied) return true;
  if (setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms) != 0) return false;
  applied = ms;
  return true;
}

int ConnectWithTimeout(SOCKET s, const sockaddr* address, int length) {
  const int ok = ConnectNonBlocking(s, address, length);
  const int error = WSAGetLastError();
  u_long blocking = 0;
  ioctlsocket(s, FIONBIO, &blocking);
  WSASetLastError(error);
  return ok;
}

int ConnectNonBlocking(SOCKET s, const sockaddr* address, int length) {
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  int rc = connect(s, address, length);
  int ok = rc == 0;
  int error = ok ? 0 : WSAGetLastError();
  if (error == WSAEWOULDBLOCK) {
    const bool writable = WaitWritable(s) != 0;
    // A refused connection shows as an error, not as writable: its code tells why.
    error = 0;
    int length = sizeof error;
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    ok = writable && error == 0;
    if (!ok && error == 0) error = WSAETIMEDOUT;
  }
  WSASetLastError(ok ? 0 : error);  // for the message that reports it
  return ok ? 1 : 0;
}

// 1 when the socket is ready (or has an error for the next call to tell), 0 when the time
// ran out (WSAETIMEDOUT set), -1 when the wait itself failed.
static int WaitReady(SOCKET s, bool forWrite, const WaitDeadline* deadline) {
  if (deadline && deadline->Left() == 0) {
    WSASetLastError(WSAETIMEDOUT);
    return 0;
  }
  bool inSet = false;
  const int n = SelectOne(s, forWrite, deadline, inSet);
  if (n == 0) WSASetLastError(WSAETIMEDOUT);
  return n > 0 ? 1 : n == 0 ? 0 : -1;
}

int ReceiveWithin(SOCKET s, char* buffer, int size, const WaitDeadline* deadline) {
  // A server that drips bytes is given up on at the deadline all the same.
  if (deadline && deadline->Left() == 0) {
    WSASetLastError(WSAETIMEDOUT);
    return -1;
  }
  for (;;) {
    int got = recv(s, buffer, size, 0);
    if (got >= 0 || WSAGetLastError() != WSAEWOULDBLOCK) return got;
    if (WaitReady(s, false, deadline) <= 0) return -1;
  }
}

int SendAllWithin(SOCKET s, const char* data, size_t count) {
  while (count > 0) {
    int sent = send(s, data, static_cast<int>(std::min<size_t>(count, 1 << 20)), 0);
    if (sent > 0) {
      data += sent;
      count -= static_cast<size_t>(sent);
      continue;
    }
    if (sent == 0 || WSAGetLastError() != WSAEWOULDBLOCK || WaitReady(s, true, nullptr) <= 0) return 0;
  }
  return 1;
}

// A wait in select learns of bytes that come during it late under Wine: 2.4 ms from LIST
// to its 150 reply, against 0.6 ms for a plain receive, most of what a small file's
// exchange costs. So for its first few milliseconds the wait asks the socket itself how
// many bytes it holds, giving up the processor between asks; a reply still to come after
// that is waited for by select, as a slow server's is.
namespace {

// The first few milliseconds of a wait, in which the socket is asked again and again.
class AskingSpell {
 public:
  AskingSpell() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  bool Over() const {
    constexpr LONGLONG kAskingMs = 3;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - start_.QuadPart) * 1000 >= kAskingMs * frequency_.QuadPart;
  }

 private:
  LARGE_INTEGER frequency_, start_;
};

bool BytesCameSoon(SOCKET s) {
  AskingSpell spell;
  for (;;) {
    u_long waiting = 0;
    if (ioctlsocket(s, FIONREAD, &waiting) != 0 || waiting > 0) return true;  // recv tells what came
    if (StopRequested || spell.Over()) return false;
    SwitchToThread();
  }
}

// The rest of a wait: select in slices of 100 ms, with Stop looked at between them.
bool WaitInSlicesUnlessStopped(SOCKET s, const WaitDeadline& deadline) {
  for (;;) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval slice{0, 100000};
    if (select(0, &readable, nullptr, nullptr, &slice) != 0) return true;  // recv tells what came
    if (StopRequested) return false;
    if (deadline.Left() == 0) return true;
  }
}

}  // namespace

bool WaitReadableUnlessStopped(SOCKET s, const WaitDeadline& deadline) {
  return BytesCameSoon(s) || (!StopRequested && WaitInSlicesUnlessStopped(s, deadline));
}

// A closed connection holds no bytes, so asking how many there are would wait out the
// whole spell for the end of a listing: the receive itself is what is asked.
int ReceiveUnlessStopped(SOCKET s, char* buffer, int size, const WaitDeadline& deadline, bool stoppable) {
  AskingSpell spell;
  for (;;) {
    if (deadline.Left() == 0) {
      WSASetLastError(WSAETIMEDOUT);
      return -1;
    }
    int got = recv(s, buffer, size, 0);
    if (got >= 0 || WSAGetLastError() != WSAEWOULDBLOCK) return got;
    if (stoppable && StopRequested) return -2;
    if (!spell.Over()) {
      SwitchToThread();
      continue;
    }
    if (!stoppable) {
      if (WaitReady(s, false, &deadline) <= 0) return -1;
    } else if (!WaitInSlicesUnlessStopped(s, deadline)) {
      return -2;
    }
  }
}
