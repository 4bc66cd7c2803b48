#include "ftp/engine_display_win.h"

#include <commctrl.h>

#include <atomic>

namespace {

std::atomic<HWND> StatusWindow{nullptr};
std::atomic<HWND> ProgressWindow{nullptr};
std::atomic<StatusTextObserver> WatchStatus{nullptr};
std::atomic<ProgressObserver> WatchProgress{nullptr};

// Texts from other threads (a job's) wait here for the status bar's own thread: a sent
// message would hold the job until the window had painted, for every piece of every file.
// Only the latest text counts, and one message at a time is on its way.
constexpr UINT kShowPendingText = WM_APP + 0x51;
SRWLOCK PendingLock = SRWLOCK_INIT;
std::string PendingText;
bool PendingPosted = false;
WNDPROC StatusBarDefault = nullptr;

class PendingScope {
 public:
  PendingScope() { AcquireSRWLockExclusive(&PendingLock); }
  ~PendingScope() { ReleaseSRWLockExclusive(&PendingLock); }
  PendingScope(const PendingScope&) = delete;
  PendingScope& operator=(const PendingScope&) = delete;
};

LRESULT CALLBACK StatusBarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kShowPendingText) return CallWindowProcA(StatusBarDefault, bar, message, wParam, lParam);
  std::string text;
  bool waiting;
  {
    PendingScope locked;
    waiting = PendingPosted;
    text.swap(PendingText);
    PendingPosted = false;
  }
  if (waiting) CallWindowProcA(StatusBarDefault, bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return 0;
}

bool OnOwnThread(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

}  // namespace

void SetEngineDisplay(HWND statusBar, HWND progressBar) {
  if (statusBar && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(statusBar, GWLP_WNDPROC)) != StatusBarProcedure) {
    StatusBarDefault = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(statusBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusBarProcedure)));
  }
  StatusWindow = statusBar;
  ProgressWindow = progressBar;
}

void SetEngineDisplayObservers(StatusTextObserver status, ProgressObserver progress) {
  WatchStatus = status;
  WatchProgress = progress;
}

void ShowStatusText(const std::string& text, bool repaintNow) {
  if (StatusTextObserver watch = WatchStatus.load()) watch(text);
  HWND bar = StatusWindow.load();
  if (!bar) return;
  if (!OnOwnThread(bar)) {
    bool post;
    {
      PendingScope locked;
      PendingText = text;
      post = !PendingPosted;
      PendingPosted = true;
    }
    if (post && !PostMessageA(bar, kShowPendingText, 0, 0)) {
      PendingScope locked;
      PendingPosted = false;
    }
    return;
  }
  // A text set on the window's own thread comes later than any still waiting, and wins.
  {
    PendingScope locked;
    PendingPosted = false;
    PendingText.clear();
  }
  SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (repaintNow) UpdateWindow(bar);
}

void SetProgressPosition(int position) {
  if (ProgressObserver watch = WatchProgress.load()) watch(position);
  HWND bar = ProgressWindow.load();
  if (bar) PostMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}
