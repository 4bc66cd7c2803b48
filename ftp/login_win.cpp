#include "ftp/login_win.h"

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
#include "ftp/server_names_win.h"
#include "ftp/transfer_progress.h"
#include "resources/resource_ids.h"
#include "text/sjis.h"

constexpr size_t kRemoteFolderCapacity = 2048;

// The message, and below it where it went wrong: the host and port ("[::1]:21" for an IPv6
// literal), then the server's last reply or, without one, the system's own words for the error.
static void ShowConnectionFailure(int message, int systemError) {
  std::string text = LoadResourceText(message) + "\r\n\r\n" + HostAndPort(ControlHost, ControlPort);
  std::string why = ReplyBuffer;
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

static int FailLogin(int message) {
  ShowConnectionFailure(message, 0);
  CloseControlConnection();
  return 0;
}

int ConnectAndLogin(const std::string& initialRemoteFolder, const std::string& initialLocalFolder) {
  if (MainWindow) {
    HMENU menu = GetMenu(MainWindow);
    EnableMenuItem(menu, IDM_DISCONNECT, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, IDM_CONNECT, MF_BYCOMMAND | MF_GRAYED);
  }
  ForgetLostConnection();
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  ShowStatusText(FormatWithName(LoadResourceText(IDS_CONNECTING), CurrentHost.HostName), true);

  if (CurrentHost.Proxy.Proxy) {
    // An IPv6 literal may come in brackets ("[::1]"), as in a URL.
    ControlHost = BareHost(CurrentHost.Proxy.ProxyServer);
    ControlPort = CurrentHost.Proxy.ProxyPort;
  } else {
    ControlHost = BareHost(CurrentHost.HostAddr);
    ControlPort = CurrentHost.Port != 0 ? CurrentHost.Port : 21;  // a profile without a port means 21
  }
  if (!OpenControlConnection()) {
    const int error = WSAGetLastError();
    CloseControlConnection();
    ShowConnectionFailure(IDS_FAILED_CONNECT, error);
    return 0;
  }

  std::string user = CurrentHost.UserID;
  if (CurrentHost.Proxy.Proxy) user += "@" + BareHost(CurrentHost.HostAddr);
  if (!SendFormattedCommand("USER", user) || !ReplyIsPositive(ReplyBuffer)) return FailLogin(IDS_FAILED_LOGIN);
  // PASS goes out even after a 2xx to USER: the proxy form needs it, and a server that
  // then refuses it has not really logged us in.
  if (!SendFormattedCommand("PASS", CurrentHost.UserPass) || !ReplyIsPositive(ReplyBuffer))
    return FailLogin(IDS_FAILED_LOGIN_PASSWORD);

  Connected = 1;
  NegotiateServerNames();
  char treePath[MAX_PATH + 16] = "";
  if (GetTempFileNameA(WorkFolder.c_str(), "TREE", 0, treePath)) TreeTempPath = treePath;
  else TreeTempPath.clear();

  if (!ChangeRemoteFolder(initialRemoteFolder)) {
    ShowMessage(IDS_NO_DEFAULT_FOLDER);
    ChangeRemoteFolder("./");
    CurrentRemoteFolder = "./";
  } else {
    GetRemoteFolder(CurrentRemoteFolder, kRemoteFolderCapacity);
  }
  if (!initialLocalFolder.empty()) SetCurrentDirectoryA(initialLocalFolder.c_str());

  ShowStatusText(" ");
  UpdateMenuState(1);
  return 1;
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
