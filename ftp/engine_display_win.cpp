#include "ftp/engine_display_win.h"

#include <commctrl.h>

#include <atomic>

static std::atomic<HWND> StatusWindow{nullptr};
static std::atomic<HWND> ProgressWindow{nullptr};
static std::atomic<StatusTextObserver> WatchStatus{nullptr};
static std::atomic<ProgressObserver> WatchProgress{nullptr};

void SetEngineDisplay(HWND statusBar, HWND progressBar) {
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
  // Sent, not posted: the text lives only for this call.
  SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (repaintNow) UpdateWindow(bar);
}

void SetProgressPosition(int position) {
  if (ProgressObserver watch = WatchProgress.load()) watch(position);
  HWND bar = ProgressWindow.load();
  if (bar) PostMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}
