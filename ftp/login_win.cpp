#include "ftp/login_win.h"

#include <atomic>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "app/menu_state_win.h"
#include "app/string_table_win.h"
#include "app/tree_cache.h"
#include "config/host_profile.h"
#include "ftp/control_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/host_address.h"
#include "ftp/remote_commands_win.h"
#include "ftp/reply_line.h"
#include "ftp/secure_port.h"
#include "ftp/secure_session_win.h"
#include "ftp/server_names_win.h"
#include "ftp/transfer_progress.h"
#include "ftp/transfer_type_win.h"
#include "resources/resource_ids.h"
#include "text/sjis.h"

constexpr size_t kRemoteFolderCapacity = 2048;

// The message, and below it where it went wrong: the host and port ("[::1]:21" for an IPv6
// literal), then the server's last reply or, without one, the system's own words for the error.
static void ShowConnectionFailure(int message, int systemError, std::string why) {
  std::string text = LoadResourceText(message) + "\r\n\r\n" + HostAndPort(ControlHost, ControlPort);
  if (why.empty() && systemError != 0) {
    char words[512] = "";
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(systemError), 0, words, sizeof words, nullptr))
      why = words;
    if (why.empty()) why = "(" + std::to_string(systemError) + ")";
  }
  while (!why.empty() && (why.back() == '\r' || why.back() == '\n' || why.back() == ' ')) why.pop_back();
  // A reply line may be long: its start says enough, cut between characters.
  size_t cut = 0;
  while (cut < why.size() && cut < 200) cut += CharWidthAt(why, cut);
  if (cut < why.size()) why = why.substr(0, cut) + "...";
  if (!why.empty()) text += "\r\n" + why;
  ShowProgramMessageBox(text, VAKO_CAPTION, MB_OK | MB_ICONINFORMATION);
}

// A login that ends here: the connection closed, and the message the window is to show.
static LoginOutcome Failed(int message, int systemError = 0) {
  LoginOutcome outcome;
  outcome.failure = message;
  outcome.systemError = systemError;
  outcome.lastReply = ReplyBuffer;
  CloseControlConnection();
  Connected = 0;
  return outcome;
}

// Stop was pressed (the window also closed the socket, to end a wait): no message.
static LoginOutcome Stopped() { return Failed(0); }

static std::atomic<int> LoginsRunning{0};

bool LoginIsRunning() { return LoginsRunning != 0; }

namespace {
struct RunningLogin {
  RunningLogin() { ++LoginsRunning; }
  ~RunningLogin() { --LoginsRunning; }
};
}  // namespace

LoginOutcome ExchangeLogin(const std::string& initialRemoteFolder) {
  const RunningLogin running;
  if (CurrentHost.Proxy.Proxy) {
    // An IPv6 literal may come in brackets ("[::1]"), as in a URL.
    ControlHost = BareHost(CurrentHost.Proxy.ProxyServer);
    ControlPort = CurrentHost.Proxy.ProxyPort;
  } else {
    ControlHost = BareHost(CurrentHost.HostAddr);
    ControlPort = ControlPortFor(CurrentHost.Port, CurrentHost.Security);
  }
  ReplyBuffer.clear();  // a failed connect has no reply to tell, least of all the last session's
  if (!OpenControlConnection()) {
    const int error = WSAGetLastError();
    return StopRequested ? Stopped() : Failed(IDS_FAILED_CONNECT, error);
  }
  if (StopRequested) return Stopped();

  const int secured = SecureControlConnection();
  if (StopRequested) return Stopped();
  if (!secured) return Failed(IDS_FAILED_CONNECT);

  std::string user = CurrentHost.UserID;
  if (CurrentHost.Proxy.Proxy) user += "@" + BareHost(CurrentHost.HostAddr);
  const int userAccepted = SendFormattedCommand("USER", user) && ReplyIsPositive(ReplyBuffer);
  if (StopRequested) return Stopped();
  if (!userAccepted) return Failed(IDS_FAILED_LOGIN);
  // PASS goes out even after a 2xx to USER: the proxy form needs it, and a server that
  // then refuses it has not really logged us in.
  const int passAccepted = SendFormattedCommand("PASS", CurrentHost.UserPass) && ReplyIsPositive(ReplyBuffer);
  if (StopRequested) return Stopped();
  if (!passAccepted) return Failed(IDS_FAILED_LOGIN_PASSWORD);
  const int protectedData = ProtectDataConnections();
  if (StopRequested) return Stopped();
  if (!protectedData) return Failed(IDS_FAILED_CONNECT);

  Connected = 1;
  NegotiateServerNames();
  if (StopRequested) return Stopped();

  LoginOutcome outcome;
  outcome.loggedIn = 1;
  if (!ChangeRemoteFolder(initialRemoteFolder)) {
    outcome.defaultFolderRefused = 1;
    ChangeRemoteFolder("./");
    outcome.remoteFolder = "./";
  } else {
    GetRemoteFolder(outcome.remoteFolder, kRemoteFolderCapacity);  // left empty when PWD fails
  }
  if (StopRequested) return Stopped();
  return outcome;
}

void BeginConnect() {
  StopRequested = 0;
  ForgetLostConnection();
  ForgetSessionTransferType();
  ShowStatusText(FormatWithName(LoadResourceText(IDS_CONNECTING), CurrentHost.HostName), true);
}

int EndConnect(const LoginOutcome& outcome, const std::string& initialLocalFolder, bool cancelled) {
  if (cancelled || !outcome.loggedIn) {
    // A user's cancel is no error: the window just goes back to unconnected.
    CloseControlConnection();
    Connected = 0;
    ForgetLostConnection();
    if (cancelled) ShowStatusText(" ");
    else if (outcome.failure != 0) ShowConnectionFailure(outcome.failure, outcome.systemError, outcome.lastReply);
    return 0;
  }
  char treePath[MAX_PATH + 16] = "";
  if (GetTempFileNameA(WorkFolder.c_str(), "TREE", 0, treePath)) TreeTempPath = treePath;
  else TreeTempPath.clear();
  if (outcome.defaultFolderRefused) ShowMessage(IDS_NO_DEFAULT_FOLDER);
  if (!outcome.remoteFolder.empty()) CurrentRemoteFolder = outcome.remoteFolder;
  if (!initialLocalFolder.empty()) SetCurrentDirectoryA(initialLocalFolder.c_str());

  ShowStatusText(" ");
  UpdateMenuState(1);
  return 1;
}

int ConnectAndLogin(const std::string& initialRemoteFolder, const std::string& initialLocalFolder) {
  BeginConnect();
  return EndConnect(ExchangeLogin(initialRemoteFolder), initialLocalFolder, false);
}

void Disconnect() {
  if (ConnectedFromFavorite) {
    CopyTreeCacheFile(TreeTempPath, KeptTreeCachePath(ProgramFolder, CurrentHost.HostName, ConnectedFavoritePath));
    ConnectedFromFavorite = 0;
  }
  if (!TreeTempPath.empty()) DeleteFileA(TreeTempPath.c_str());
  // A connection already lost has nobody to say goodbye to.
  if (ControlSocket != INVALID_SOCKET) SendFormattedCommand("QUIT");
  CloseControlConnection();
  Connected = 0;
  ForgetLostConnection();
}
