// What a running job tells the main window, and all it tells it: the folders it works in
// with the listing it fetched there, the running totals, and its end. Everything is posted
// or left under a lock for the window to take: the job never waits for the window, and it
// never reads what the window shows.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/list_row.h"

// One list row as a job takes it up: the texts the list shows.
struct JobRow {
  std::string name, size, date, attributes;
  bool folder = false;  // its Size text is the folder marker
  // A remote link ("l" in its Attributes) that the list shows as a folder: deleting it
  // removes the link, never what it points to.
  bool IsLink() const { return !attributes.empty() && attributes[0] == 'l'; }
};
JobRow JobRowOf(const ListRow& row);
JobRow JobRowOf(ListRow&& row);  // takes the texts over

// Posted to the main window: the menus and buttons follow JobRunning (wParam 1).
constexpr UINT MsgUpdateMenus = WM_USER + 3;
// Posted to the main window when a pane view waits (TakeJobPaneViews). Many views in a
// row cost one message: the window shows the latest of each side on its own timer.
constexpr UINT MsgJobPanes = WM_APP + 0x53;

// The remote folder a job has entered, with the rows of the listing it fetched there
// (sorted for the list, the parent row first) and the names of its sub-folders.
struct RemoteFolderView {
  std::string folder;
  std::vector<ListRow> rows;
  std::vector<std::string> subFolders;
  bool whole = false;  // the listing was confirmed and not cut
};

// What a job works on, taken by the window when the job starts (before its thread exists)
// and read by the job alone afterwards: whatever the user does in the window meanwhile
// changes none of it.
struct JobSnapshot {
  std::vector<JobRow> rows;       // the rows it works on: the selected ones, or all
  std::vector<JobRow> localRows;  // every row of the local pane
  bool localWhole = false;        // the local pane showed the whole folder
  RemoteFolderView remote;        // the remote pane: its folder and every row
  std::string localFolder;        // absolute: where files land or come from
  std::string paneLocalFolder;    // the local pane's folder, shown again at the end
  bool localPaneFollows = true;   // the local pane shows the folders the job is in
};
extern JobSnapshot JobStart;

// A view as the job keeps it for its level and hands it to the window: shared, never
// changed, so that handing it over copies no rows (the window mostly shows none of them).
using SharedFolderView = std::shared_ptr<const RemoteFolderView>;

// What waits for the window: the latest remote view and the latest local folder.
struct JobPaneViews {
  bool hasRemote = false, hasLocal = false;
  SharedFolderView remote;
  std::string localFolder;
};

// From the job's thread: the panes are to show these folders (a null view: none).
void PostRemoteFolderView(SharedFolderView view);
void PostLocalFolderView(const std::string& folder);
// From the window's thread: what waits, taken (false when nothing did).
bool TakeJobPaneViews(JobPaneViews& views);
// Forgets what waits: the job has ended and the panes go back to where it started.
void DropJobPaneViews();

// The job's running totals: files and bytes done since it started.
struct JobTotals {
  uint64_t files = 0, bytes = 0;
  DWORD startTick = 0;
};
void ResetJobTotals();
void CountJobFile(uint64_t bytes);
JobTotals ReadJobTotals();

// The end of a job: the window's answer to the end command (IDM_UPLOAD_DONE or
// IDM_DOWNLOAD_DONE, posted) lets the job's thread go on to its last report.
void PostJobEnd(int doneCommand);
// The window's thread, once the panes show the start folders again: JobRunning cleared.
void JobEndHandled();
