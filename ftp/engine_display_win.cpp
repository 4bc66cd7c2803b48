#include "ftp/engine_display_win.h"

#include <commctrl.h>

#include <atomic>

#include "ftp/locked_scope_win.h"

namespace {

std::atomic<HWND> StatusWindow{nullptr};
std::atomic<HWND> ProgressWindow{nullptr};
std::atomic<StatusTextObserver> WatchStatus{nullptr};
std::atomic<ProgressObserver> WatchProgress{nullptr};
std::atomic<StatusSuffix> Suffix{nullptr};

// Texts and positions from other threads (a job's) wait here for the bars' own thread: a
// sent message would hold the job until the window had painted, for every piece of every
// file. Only the latest of each counts. One message hands them over; a timer then picks
// up what comes in meanwhile, so a job of many small files has the bars drawn five times a
// second rather than several times per file: under Wine each drawing costs the window's
// thread milliseconds of CPU time and round trips to the display, taken from the job
// (at 25 a second the window's thread used more CPU time than the job's own).
constexpr UINT kShowPendingText = WM_APP + 0x51;
constexpr UINT_PTR kPendingTimer = 0x5641;
constexpr UINT kPendingIntervalMs = 200;
SRWLOCK PendingLock = SRWLOCK_INIT;
std::string PendingText;
bool PendingHasText = false;
int PendingPosition = 0;
bool PendingHasPosition = false;
bool PendingPosted = false;  // a message or the timer is on its way: no further message needed
WNDPROC StatusBarDefault = nullptr;

// Shows what waits. After the message the timer keeps running while more comes in; a
// tick that finds nothing waiting stops it, and the next change posts a message again.
void ShowPending(HWND bar, bool tick) {
  std::string text;
  bool hasText, hasPosition;
  int position;
  {
    LockedScope locked(PendingLock);
    hasText = PendingHasText;
    hasPosition = PendingHasPosition;
    if (tick && !hasText && !hasPosition) PendingPosted = false;
    text.swap(PendingText);
    position = PendingPosition;
    PendingHasText = PendingHasPosition = false;
  }
  if (tick && !hasText && !hasPosition) {
    KillTimer(bar, kPendingTimer);
    return;
  }
  if (!tick) SetTimer(bar, kPendingTimer, kPendingIntervalMs, nullptr);
  if (hasText) {
    if (StatusSuffix suffix = Suffix.load()) {
      const std::string more = suffix();
      if (!more.empty() && text != " ") text += "  " + more;
    }
    CallWindowProcA(StatusBarDefault, bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  HWND progress = ProgressWindow.load();
  if (hasPosition && progress) SendMessageA(progress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

LRESULT CALLBACK StatusBarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kShowPendingText) {
    ShowPending(bar, false);
    return 0;
  }
  if (message == WM_TIMER && wParam == kPendingTimer) {
    ShowPending(bar, true);
    return 0;
  }
  return CallWindowProcA(StatusBarDefault, bar, message, wParam, lParam);
}

bool OnOwnThread(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

// Leaves a value (set by `leave`, under the lock) for the status bar's thread, and posts
// it there unless a message or the timer is already on its way.
template <typename Leave>
void HandOver(HWND bar, Leave leave) {
  {
    LockedScope locked(PendingLock);
    leave();
    if (PendingPosted) return;
    PendingPosted = true;
  }
  if (PostMessageA(bar, kShowPendingText, 0, 0)) return;
  LockedScope locked(PendingLock);
  PendingPosted = false;
}

}  // namespace

void SetEngineDisplay(HWND statusBar, HWND progressBar) {
  if (statusBar && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(statusBar, GWLP_WNDPROC)) != StatusBarProcedure) {
    StatusBarDefault = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(statusBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusBarProcedure)));
  }
  StatusWindow = statusBar;
  ProgressWindow = progressBar;
  // Whatever waited was for bars that are gone (a timer of theirs went with them).
  LockedScope locked(PendingLock);
  PendingHasText = PendingHasPosition = PendingPosted = false;
  PendingText.clear();
}

void SetStatusSuffix(StatusSuffix suffix) { Suffix = suffix; }

void ShowWaitingDisplayNow() {
  HWND bar = StatusWindow.load();
  if (bar && OnOwnThread(bar)) ShowPending(bar, false);
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
    HandOver(bar, [&] {
      PendingText = text;
      PendingHasText = true;
    });
    return;
  }
  // A text set on the window's own thread comes later than any still waiting, and wins.
  {
    LockedScope locked(PendingLock);
    PendingHasText = false;
    PendingText.clear();
  }
  SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (repaintNow) UpdateWindow(bar);
}

void SetProgressPosition(int position) {
  if (ProgressObserver watch = WatchProgress.load()) watch(position);
  HWND bar = ProgressWindow.load();
  if (!bar) return;
  HWND carrier = StatusWindow.load();
  if (carrier && !OnOwnThread(bar)) {
    HandOver(carrier, [&] {
      PendingPosition = position;
      PendingHasPosition = true;
    });
    return;
  }
  // A position set on the bar's own thread comes later than any still waiting, and wins.
  {
    LockedScope locked(PendingLock);
    PendingHasPosition = false;
  }
  PostMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}
