#include "ftp/control_connection_win.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "app/app_state_win.h"
#include "config/host_profile.h"
#include "ftp/data_socket_win.h"
#include "ftp/login_again_win.h"
#include "ftp/protocol_log_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/reply_line.h"
#include "ftp/secure_session_win.h"
#include "ftp/server_names_win.h"
#include "ftp/socket_address_win.h"
#include "ftp/socket_wait_win.h"
#include "ftp/tls_stream_win.h"
#include "ftp/transfer_type_win.h"

static std::atomic<int> SessionLost{0};
static bool DroppedOnSilence = false;
std::string ReplyText;

// Bytes of the control connection read past the last reply line: a reply that follows at
// once (the 226 after a short transfer's 150) waits here for the next read. Reading what
// the socket has in one call, rather than peeking and then taking one line, saves two
// calls into the system per reply line, which under Wine cost more than the exchange.
static std::string ControlPending;
// The receive time limit set on the control socket now (0: none set yet); set once per
// connection as a rule.
static DWORD ControlWaitMs = 0;

static void ForgetControlPending() {
  ControlPending.clear();
  ControlWaitMs = 0;
}

static void CleanupSockets() { WSACleanup(); }

int StartSockets() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return 0;
  return std::atexit(CleanupSockets) == 0 ? 1 : 0;
}

int OpenControlConnection() {
  ForgetPassiveChoice();
  ForgetControlPending();
  ForgetServerNames();
  ForgetTransferType();
  ForgetServerFolder();
  ServerAddress = sockaddr_storage{};
  if (!ConnectToHost(ControlHost, ControlPort, ControlSocket, ServerAddress)) {
    const int error = WSAGetLastError();
    CloseControlConnection();
    WSASetLastError(error);
    return 0;
  }
  WSASetLastError(0);  // from here on a failure has the server's last reply to tell
  ReplyBuffer.clear();
  if (CurrentHost.Security == kSecurityImplicitTls) {
    WaitDeadline deadline;  // a server that never answers the handshake is given up on too
    if (!LimitReceiveWait(ControlSocket, deadline, ControlWaitMs) || !StartControlTls()) return 0;
  }
  return ReadReply();
}

// Reads one line through ControlPending; nothing past its LF is taken from there.
// Answers 1 for a complete line, 0 when the peer closed, -1 on an error or a timeout.
static int ReadOneLine(std::string& line, const WaitDeadline& deadline) {
  line.clear();
  char last = 0;  // the last byte taken off the wire, for a CR just before a piece's LF
  for (;;) {
    const size_t end = ControlPending.find('\n');
    const size_t take = end == std::string::npos ? ControlPending.size() : end + 1;
    // A line longer than the reply buffer keeps its first 65,535 bytes; the rest of it
    // is still read off the socket so the next reply starts in step.
    const size_t room = kReplyBufferSize - 1 - std::min(line.size(), kReplyBufferSize - 1);
    line.append(ControlPending, 0, std::min(take, room));
    if (end != std::string::npos) {
      const bool crlf = end > 0 ? ControlPending[end - 1] == '\r' : last == '\r';
      ControlPending.erase(0, take);
      // A cut line still ends as it came, or the log would run the next line into it.
      if (line.back() != '\n') {
        const char* ending = crlf ? "\r\n" : "\n";
        line.replace(line.size() - std::strlen(ending), std::string::npos, ending);
      }
      return 1;
    }
    if (take > 0) last = ControlPending[take - 1];
    ControlPending.erase(0, take);
    if (ControlSocket == INVALID_SOCKET || !LimitReceiveWait(ControlSocket, deadline, ControlWaitMs)) return -1;
    char chunk[4096];
    const int got = ReceiveControlBytes(chunk, sizeof chunk);
    if (got == 0) return 0;
    if (got < 0) return -1;
    ControlPending.assign(chunk, static_cast<size_t>(got));
  }
}

int ControlReplyIsWaiting() {
  if (ControlPending.find('\n') != std::string::npos) return 1;
  return ControlTls() && ControlTls()->HasBufferedInput() ? 1 : 0;
}

int ControlHasUnreadBytes() { return ControlPending.empty() ? 0 : 1; }

// Reads the lines of one reply into last (as received, up to any NUL). 1 for a whole
// reply, 0 when the peer closed, -1 on an error, a time limit, the reply's deadline or a
// reply that never ends.
static int ReadWholeReply(std::string& last, std::string* whole = nullptr) {
  WaitDeadline deadline;
  ReplyEnd end;
  std::string stripped;
  if (whole) whole->clear();
  for (int lines = 0; lines < kMaxReplyLines; ++lines) {
    int state = ReadOneLine(last, deadline);
    last.resize(std::strlen(last.c_str()));  // the line ends at a NUL byte, as it always has
    if (whole && whole->size() < kReplyBufferSize) *whole += last;
    stripped = last;
    StripBeforeFirstDigit(stripped);
    if (state != 1) return state;
    if (end.IsLastLine(last, stripped)) return 1;
  }
  return -1;
}

int ReadReply() {
  ReplyBuffer.clear();
  std::string line;
  int state = ReadWholeReply(line, &ReplyText);
  DroppedOnSilence = state < 0 && WSAGetLastError() == WSAETIMEDOUT;
  StripBeforeFirstDigit(line);
  WriteProtocolLogReply(line);
  // Half a reply is no reply: "200" cut off mid-line must not read as a success.
  ReplyBuffer = state == 1 ? line : std::string();
  // A closed, broken or silent connection, or a server saying goodbye, leaves nothing to
  // talk to: drop it so every later command fails at once instead of reading a stale reply.
  if (state != 1 || ReplyClosesConnection(ReplyBuffer)) DropControlConnection();
  return state < 0 ? 0 : 1;
}

int ReadReplyQuietly(std::string& line) {
  int state = ReadWholeReply(line);
  std::string code = line;
  StripBeforeFirstDigit(code);
  if (state != 1 || ReplyClosesConnection(code)) DropControlConnection();
  return state == 1 ? 1 : 0;
}

// Waits for the reply to begin for as long as one may take to begin, unless Stop is
// pressed: a server may hold back the first reply to a transfer command as long as it likes.
static bool WaitForReplyUnlessStopped() {
  if (ControlSocket == INVALID_SOCKET || ControlReplyIsWaiting()) return true;
  return WaitReadableUnlessStopped(ControlSocket, WaitDeadline(static_cast<DWORD>(NetworkTimeoutSeconds()) * 1000));
}

// Sends CommandBuffer and reads its reply: 1, or 0 when the connection failed; -1 when
// `stoppable` and Stop ended the wait before any reply came (the reply is still owed).
static int ExchangeCommand(bool stoppable = false, void (*meanwhile)() = nullptr) {
  const char* data = CommandBuffer.data();
  size_t left = CommandBuffer.size();
  while (left > 0) {
    int sent = SendControlBytes(data, left);
    if (sent <= 0) {
      DroppedOnSilence = false;
      DropControlConnection();
      return 0;
    }
    data += sent;
    left -= static_cast<size_t>(sent);
  }
  WriteProtocolLog(LoggedCommandText(CommandBuffer), 2);
  if (meanwhile) meanwhile();
  if (stoppable && !WaitForReplyUnlessStopped()) return -1;
  const int replied = ReadReply();
  NoteTransferTypeExchange(CommandBuffer, ReplyBuffer);
  return replied;
}

int SendCommand() {
  if (!ConnectionMayComeBack()) return ExchangeCommand();
  const std::string command = CommandBuffer;
  const int replied = ExchangeCommand();
  // Every command outside a job passes here: one that finds the session dropped while it
  // was idle is sent once more on a new login.
  if (!RepeatsAfterIdleDrop(command)) return replied;
  CommandBuffer = command;
  return ExchangeCommand();
}

int SendCommandUnlessStopped(void (*meanwhile)()) { return JobRunning ? ExchangeCommand(true, meanwhile) : SendCommand(); }

int CloseControlConnection() {
  EndControlTls();
  if (ControlSocket != INVALID_SOCKET) closesocket(ControlSocket);
  ControlSocket = INVALID_SOCKET;
  ForgetControlPending();
  ForgetTransferType();
  CloseProtocolLog();
  return 1;
}

void DropControlConnection() {
  CloseControlConnection();
  if (Connected) SessionLost = 1;
}

int ConnectionWasLost() { return SessionLost; }
void ForgetLostConnection() { SessionLost = 0; }
void MarkConnectionLost() { SessionLost = 1; }
int LastDropWasSilence() { return DroppedOnSilence ? 1 : 0; }
