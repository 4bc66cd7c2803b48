// Where the engine shows what it is doing: the first part of the status bar and the
// progress bar. The main window hands its controls over once it has made them; until
// then (and in tests) the handles are null and nothing is drawn. Tests may watch instead.
#pragma once
#include <windows.h>

#include <string>

void SetEngineDisplay(HWND statusBar, HWND progressBar);

// Text of the status bar's first part. repaintNow draws it at once, for a caller that
// blocks its own thread right afterwards (the login). From another thread than the status
// bar's (a job's) the text is handed over without waiting: the bar shows the latest one.
void ShowStatusText(const std::string& text, bool repaintNow = false);
// While set, texts handed over from another thread are shown with what it answers after
// them (a running job's totals); null: as they are.
using StatusSuffix = std::string (*)();
void SetStatusSuffix(StatusSuffix suffix);
// On the bars' own thread: shows at once what other threads left for them, instead of at
// the next tick (a job's end, so that no text of the job outlives it on the bar).
void ShowWaitingDisplayNow();
void SetProgressPosition(int position);

// Test hooks: called with every status text and progress position the engine shows.
using StatusTextObserver = void (*)(const std::string& text);
using ProgressObserver = void (*)(int position);
void SetEngineDisplayObservers(StatusTextObserver status, ProgressObserver progress);
