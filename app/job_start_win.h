// The window's side of a job: the snapshot a job starts from, the panes that follow it
// while it runs, and the panes shown again once it has ended. Also the reading of list rows
// on the window's own thread.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "jobs/job_events.h"

// What a job works on: the selected rows of a pane, or every row of the local pane.
enum class JobRowsFrom { RemoteSelection, LocalSelection, LocalAll };

// Takes JobStart for a job on `from`, its files landing in or coming from the absolute
// folder `localFolder`; the local pane follows the job's folders when localPaneFollows.
void TakeJobSnapshot(JobRowsFrom from, const std::string& localFolder, bool localPaneFollows = true);
// The snapshot taken, then the job's thread (JobRunning set first); says so when the thread
// cannot be made.
void StartJobThread(LPTHREAD_START_ROUTINE entry, JobRowsFrom from, const std::string& localFolder,
                    bool localPaneFollows = true);

// MsgJobPanes: the views a job left are shown on a timer (JobPanesDelay).
void OnJobPanesWaiting(HWND window);
// The timer's tick (true when it was the panes' timer).
bool OnJobPanesTimer(HWND window, UINT_PTR timer);
// The end command of a job: the panes show the folders where it started, each listed once,
// and then JobRunning is cleared.
void ShowJobStartFolders();

// The rows selected now (or every row) of a list on the window's thread, in ascending order.
std::vector<JobRow> SelectedJobRows(HWND list);
std::vector<JobRow> AllJobRows(HWND list);
// The first row whose Name is the name, letter case not counting; -1 when there is none.
int FindRowByName(HWND list, const std::string& name);
void SelectAllListRows(HWND list);
// Selects (and drop-highlights) exactly these rows.
void MarkListRows(HWND list, const std::vector<size_t>& rows);
