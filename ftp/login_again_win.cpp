#include "ftp/login_again_win.h"

#include "app/app_state_win.h"
#include "config/options.h"
#include "app/string_table_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/login_win.h"
#include "ftp/protocol_log_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/transfer_type_win.h"
#include "resources/resource_ids.h"

namespace {

bool InLoginAgain = false;

// The transfer type the lost connection had, put on the new one.
int RestoreTransferType(char type) {
  if (type == 0) return 1;
  return SendTransferType(type == 'A' ? 1 : 2);
}

bool IsVerb(const std::string& commandLine, const char* verb) {
  const std::string word = commandLine.substr(0, commandLine.find_first_of(" \r\n"));
  return word == verb;
}

}  // namespace

bool LoggingInAgain() { return InLoginAgain; }

std::string ReconnectingText(int attempt, int attempts) {
  std::string text = LoadResourceText(IDS_RECONNECTING);
  for (int value : {attempt, attempts}) {
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(value));
  }
  return text;
}

int LogInAgain(const std::string& wantedFolder) {
  const std::string folder = wantedFolder;  // the caller's may be the folder the login forgets
  if (!Connected || folder.empty()) return 0;
  const char type = SessionTransferType();
  InLoginAgain = true;
  CloseControlConnection();
  WriteProtocolLog("(logging in again)", 1);
  const LoginOutcome outcome = ExchangeLogin(folder);
  // A folder refused after the login leaves the server elsewhere: nothing would go on where
  // it stopped.
  const bool back = outcome.loggedIn && !outcome.defaultFolderRefused && ControlSocket != INVALID_SOCKET &&
                    RestoreTransferType(type) && ControlSocket != INVALID_SOCKET;
  InLoginAgain = false;
  Connected = 1;  // the window still sees the session, lost or not, and ends it itself
  if (!back) {
    CloseControlConnection();
    MarkConnectionLost();
    return 0;
  }
  ForgetLostConnection();
  return 1;
}

bool ConnectionMayComeBack() {
  return !JobRunning && Connected && Options.ReconnectTries > 0 && !InLoginAgain && !LoginIsRunning();
}

bool RepeatsAfterIdleDrop(const std::string& commandLine) {
  if (!ConnectionWasLost() || LastDropWasSilence()) return false;
  // Nothing to say goodbye to, nor to stop.
  if (IsVerb(commandLine, "QUIT") || IsVerb(commandLine, "ABOR")) return false;
  std::string folder = KnownServerFolder();
  if (folder.empty()) folder = CurrentRemoteFolder;
  StopRequested = 0;  // a Stop pressed while nothing ran is no answer to this
  ShowStatusText(ReconnectingText(1, 1), true);
  const int back = LogInAgain(folder);
  ShowStatusText(" ");
  return back == 1;
}
