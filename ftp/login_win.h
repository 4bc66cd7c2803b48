// Logging in to the server of CurrentHost, directly or through the proxy, and leaving it.
#pragma once
#include <string>

// What one login came to, as the connect thread hands it to the window.
struct LoginOutcome {
  int loggedIn = 0;              // 1 when logged in
  int failure = 0;               // the message of a failed connect or login (0: none, as after Stop)
  int systemError = 0;           // why the connect failed, in the system's words
  std::string lastReply;         // the server's last reply line at the failure
  int defaultFolderRefused = 0;  // the initial remote folder was refused: "./" instead
  std::string remoteFolder;      // where the session starts, as PWD says
};

// Everything that talks to the server before the first listing: the control connection and
// its greeting, USER and PASS (always both; through the proxy the user is "user@host"), the
// name negotiation, CWD to the initial remote folder ("./" when that fails) and PWD. It
// touches no window, so it runs on the connect thread; StopRequested ends it at the next step,
// with the connection closed. Connected is 1 from the accepted PASS on.
LoginOutcome ExchangeLogin(const std::string& initialRemoteFolder);
// True while ExchangeLogin runs on any thread: a command of the login is never repeated
// after a login again.
bool LoginIsRunning();

// The window's side of connecting, before and after ExchangeLogin: the status text, then the
// failure's message box, or the tree cache working file, the initial local folder and the
// menus. A cancelled attempt ends as a failure with no box. 1 when logged in.
void BeginConnect();
int EndConnect(const LoginOutcome& outcome, const std::string& initialLocalFolder, bool cancelled);

// The three at once on the calling thread, blocking it: for the tests and the benchmarks. The
// window connects through StartConnectAttempt (app/connect_attempt_win.h). 1 when logged in;
// 0 after showing why not, with the connection closed.
int ConnectAndLogin(const std::string& initialRemoteFolder, const std::string& initialLocalFolder);

// Keeps the tree cache of a favorite host, drops the working copy, sends QUIT and closes.
// The caller empties the remote list and tree, which belong to the window.
void Disconnect();
