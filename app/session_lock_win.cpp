#include "app/session_lock_win.h"

#include <windows.h>
#include <commctrl.h>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "app/string_table_win.h"
#include "ftp/server_certificate_win.h"
#include "resources/resource_ids.h"

static bool LockShown = false;

void ShowSessionLock(bool protectedSession) {
  LockShown = protectedSession;
  if (!StatusBar) return;
  RECT bar;
  GetClientRect(StatusBar, &bar);
  // The progress bar covers the status bar's right end (from 160 pixels before it): the
  // lock sits just left of it, and the text part ends where the lock begins.
  constexpr int kProgressSpace = 160, kLockWidth = 40;
  const int lockRight = bar.right - kProgressSpace > kLockWidth ? bar.right - kProgressSpace : kLockWidth;
  if (protectedSession) {
    int edges[3] = {lockRight - kLockWidth, lockRight, -1};
    SendMessageA(StatusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    SendMessageA(StatusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(LoadResourceText(IDS_SECURE_SESSION).c_str()));
  } else {
    int edges[1] = {-1};
    SendMessageA(StatusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(edges));
  }
}

void UpdateSessionLock() {
  if (!StatusBar) return;
  // The parts belong to the window's thread: another thread has it ask for the update.
  if (GetWindowThreadProcessId(StatusBar, nullptr) != GetCurrentThreadId()) {
    if (MainWindow) PostMessageA(MainWindow, MsgUpdateMenus, 1, 0);
    return;
  }
  ShowSessionLock(Connected && ControlConnectionIsProtected());
}

int SessionLockShown() {
  return StatusBar && LockShown && SendMessageA(StatusBar, SB_GETPARTS, 0, 0) == 3 ? 1 : 0;
}
