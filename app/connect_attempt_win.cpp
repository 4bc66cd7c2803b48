#include "app/connect_attempt_win.h"

#include <atomic>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
#include "ftp/login_win.h"

namespace {

// One attempt. The window's thread fills it before the connect thread exists and reads the
// outcome only after that thread has ended.
struct Attempt {
  HANDLE thread = nullptr;
  std::string remoteFolder, localFolder;
  std::function<void()> whenConnected;
  LoginOutcome outcome;
  bool cancelled = false;
  SOCKET closed = INVALID_SOCKET;  // the control socket the cancel last closed
};

Attempt Current;
std::atomic<int> Running{0};

DWORD WINAPI ConnectThread(LPVOID) {
  Current.outcome = ExchangeLogin(Current.remoteFolder);
  PostMessageA(MainWindow, MsgConnectDone, 0, 0);
  return 0;
}

}  // namespace

bool StartConnectAttempt(const std::string& initialRemoteFolder, const std::string& initialLocalFolder,
                         std::function<void()> whenConnected) {
  if (JobRunning || Running) return false;
  JobRunning = 1;
  Running = 1;
  Current = Attempt{};
  Current.remoteFolder = initialRemoteFolder;
  Current.localFolder = initialLocalFolder;
  Current.whenConnected = std::move(whenConnected);
  BeginConnect();
  UpdateMenuState(1);
  Current.thread = CreateThread(nullptr, 0, ConnectThread, nullptr, 0, nullptr);
  if (!Current.thread) {  // no thread to be had: the window waits, as it once always did
    Current.outcome = ExchangeLogin(Current.remoteFolder);
    PostMessageA(MainWindow, MsgConnectDone, 0, 0);
  }
  return true;
}

bool ConnectAttemptRunning() { return Running != 0; }

void CancelConnectAttempt() {
  if (!Running || Current.cancelled) return;
  Current.cancelled = true;
  StopRequested = 1;
  KeepCancellingConnectAttempt();
  SetTimer(MainWindow, kConnectCancelTimer, 100, nullptr);
}

// The exchange checks StopRequested between its steps, but a connect or a reply it waits for
// ends only when its socket is closed (Wine does not wake a blocked receive for a shutdown).
// A socket made after the first close is closed at the next tick.
void KeepCancellingConnectAttempt() {
  if (!Running) {
    KillTimer(MainWindow, kConnectCancelTimer);
    return;
  }
  const SOCKET socket = ControlSocket;
  if (socket == INVALID_SOCKET || socket == Current.closed) return;
  Current.closed = socket;
  closesocket(socket);
}

void EndConnectAttempt() {
  if (!Running) return;
  if (Current.thread) {
    WaitForSingleObject(Current.thread, INFINITE);  // it has posted its outcome: it is ending
    CloseHandle(Current.thread);
  }
  KillTimer(MainWindow, kConnectCancelTimer);
  Attempt done = std::move(Current);
  Current = Attempt{};
  Running = 0;
  JobRunning = 0;
  UpdateMenuState(1);  // before any message box about the outcome
  if (EndConnect(done.outcome, done.localFolder, done.cancelled) && done.whenConnected) done.whenConnected();
  UpdateMenuState(1);
}
