#include "app/job_start_win.h"

#include <commctrl.h>

#include "app/app_state_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/system_text_case_win.h"
#include "app/remote_view_fill_win.h"
#include "ftp/engine_display_win.h"
#include "jobs/job_rules.h"
#include "jobs/job_support_win.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT_PTR kJobPanesTimer = 0x5642;
bool TimerSet = false;
// The last refresh of the panes during a job: when it ended (tick count) and what it cost,
// painting included (ms). A clock of 16 ms steps will do: only slow refreshes matter.
DWORD LastRefreshEnd = 0;
DWORD LastRefreshCost = 0;

ListRow ReadListRow(HWND list, int row) {
  ListRow r;
  for (int column = 0; column < 5; ++column) r.texts.column[column] = ListRowText(list, row, column);
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  if (SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) r.image = item.iImage;
  r.key = ListRowKey(list, row);
  return r;
}

std::vector<JobRow> ReadRows(HWND list, bool selectedOnly) {
  std::vector<JobRow> rows;
  if (selectedOnly) {
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0)
      rows.push_back(JobRowOf(ReadListRow(list, row)));
    return rows;
  }
  const int count = ListRowCount(list);
  rows.reserve(count > 0 ? count : 0);
  for (int row = 0; row < count; ++row) rows.push_back(JobRowOf(ReadListRow(list, row)));
  return rows;
}

void SetRowState(HWND list, int row, UINT state, UINT mask) {
  LVITEMA item{};
  item.stateMask = mask;
  item.state = state;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void TakeJobSnapshot(JobRowsFrom from, const std::string& localFolder, bool localPaneFollows) {
  JobSnapshot& s = JobStart;
  s = JobSnapshot{};
  s.rows = ReadRows(from == JobRowsFrom::RemoteSelection ? RemoteList : LocalList, from != JobRowsFrom::LocalAll);
  s.localRows = AllJobRows(LocalList);
  s.localWhole = LocalListIsWhole;
  s.remote.folder = CurrentRemoteFolder;
  s.remote.whole = RemoteListIsWhole;
  const int count = ListRowCount(RemoteList);
  s.remote.rows.reserve(count > 0 ? count : 0);
  for (int row = 0; row < count; ++row) s.remote.rows.push_back(ReadListRow(RemoteList, row));
  s.localFolder = localFolder;
  s.paneLocalFolder = CurrentLocalFolder;
  s.localPaneFollows = localPaneFollows;
}

void StartJobThread(LPTHREAD_START_ROUTINE entry, JobRowsFrom from, const std::string& localFolder,
                    bool localPaneFollows) {
  TakeJobSnapshot(from, localFolder, localPaneFollows);
  if (!CreateJobThread(entry, nullptr)) ShowMessage(IDS_OUT_OF_MEMORY);
}

void OnJobPanesWaiting(HWND window) {
  if (TimerSet) return;
  const DWORD now = GetTickCount();
  TimerSet = SetTimer(window, kJobPanesTimer,
                      JobPanesDelay(LastRefreshCost, now - LastRefreshEnd, now - ReadJobTotals().startTick), nullptr) != 0;
}

bool OnJobPanesTimer(HWND window, UINT_PTR timer) {
  if (timer != kJobPanesTimer) return false;
  KillTimer(window, kJobPanesTimer);
  TimerSet = false;
  JobPaneViews views;
  if (!JobRunning || !TakeJobPaneViews(views)) return true;
  const DWORD start = GetTickCount();
  if (views.hasLocal && ArchiveMode == 0) ShowLocalFolder(LocalList, views.localFolder);
  if (views.hasRemote) ShowJobRemoteView(*views.remote);
  // Painted now, so that the cost measured is the whole of it.
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  LastRefreshEnd = GetTickCount();
  LastRefreshCost = LastRefreshEnd - start;
  return true;
}

void ShowJobStartFolders() {
  // The job cleared its status before it handed over its end.
  ShowWaitingDisplayNow();
  if (TimerSet) KillTimer(MainWindow, kJobPanesTimer);
  TimerSet = false;
  DropJobPaneViews();
  // Whatever the window did meanwhile, the panes show where the job started; the local
  // pane's own folder otherwise, whatever moved the process's current folder.
  const std::string localFolder =
      JobRunning && !JobStart.paneLocalFolder.empty() ? JobStart.paneLocalFolder : CurrentLocalFolder;
  if (!localFolder.empty()) EnterLocalFolder(localFolder);
  if (JobRunning) CurrentRemoteFolder = JobStart.remote.folder;
  RefreshLocalList(LocalList);
  if (Connected) RefreshRemoteList(RemoteList, 0);
}

std::vector<JobRow> SelectedJobRows(HWND list) { return ReadRows(list, true); }
std::vector<JobRow> AllJobRows(HWND list) { return ReadRows(list, false); }

int FindRowByName(HWND list, const std::string& name) {
  const int count = ListRowCount(list);
  for (int row = 0; row < count; ++row)
    if (EqualNoCase(SystemTextCase(), ListRowText(list, row, 0), name)) return row;
  return -1;
}

void SelectAllListRows(HWND list) { SetRowState(list, -1, LVIS_SELECTED, LVIS_SELECTED); }

void MarkListRows(HWND list, const std::vector<size_t>& rows) {
  SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_DROPHILITED);
  for (size_t row : rows)
    SetRowState(list, static_cast<int>(row), LVIS_SELECTED | LVIS_DROPHILITED, LVIS_SELECTED | LVIS_DROPHILITED);
}
