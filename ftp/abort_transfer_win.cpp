// Stopping a transfer the way RFC 959 asks: Telnet interrupt and synch, then ABOR.
#include "app/app_state_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/data_socket_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/secure_session_win.h"

namespace {

// The replies of an aborted transfer vary by server: the transfer's own final reply
// (226 or 426) may come before, with or instead of the reply to ABOR, and some servers
// send both. PWD's 257 is none of those, so reading up to it puts the next command's
// reply back where it belongs. When that fails the connection is dropped: a known state.
void BringRepliesInStep() {
  if (ControlSocket == INVALID_SOCKET) return;
  if (!SendFormattedCommand("PWD")) return;
  for (int extra = 0; extra < 8; ++extra) {
    if (ReplyBuffer.compare(0, 3, "257") == 0) return;
    if (ControlSocket == INVALID_SOCKET || !ReadReply() || ReplyBuffer.empty()) break;
  }
  if (ReplyBuffer.compare(0, 3, "257") != 0) DropControlConnection();
}

void SendTelnetInterrupt() {
  static const char interrupt[3] = {'\xFF', '\xF4', '\xFF'};  // IAC IP IAC; the urgent mark is on the last IAC
  if (send(ControlSocket, interrupt, sizeof interrupt, MSG_OOB) != sizeof interrupt) DropControlConnection();
  static const char mark = '\xF2';  // DM
  if (send(ControlSocket, &mark, 1, 0) != 1) DropControlConnection();
}

}  // namespace

void SendAbortSequence() {
  // Urgent data cannot cross TLS: a protected connection gets ABOR alone.
  if (!ControlTls()) SendTelnetInterrupt();
  if (!SendFormattedCommand("ABOR")) return;
  BringRepliesInStep();
}

void AbortTransfer() {
  StopRequested = 0;
  SendAbortSequence();
}
