#include "jobs/job_support_win.h"

#include <commctrl.h>

#include <atomic>
#include <cstdio>

#include "app/app_state_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "app/system_text_case_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/transfer_progress.h"
#include "jobs/job_texts_win.h"
#include "jobs/kanji_conversion_win.h"
#include "resources/resource_ids.h"

static std::atomic<bool> LostWay{false};

bool CreateJobThread(LPTHREAD_START_ROUTINE entry, void* parameter) {
  JobRunning = 1;
  HANDLE thread = CreateThread(nullptr, 0, entry, parameter, CREATE_SUSPENDED, nullptr);
  if (!thread) {
    JobRunning = 0;
    return false;
  }
  SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
  ResumeThread(thread);
  CloseHandle(thread);
  return true;
}

void StartJobThread(LPTHREAD_START_ROUTINE entry, const std::string& folder, void* parameter) {
  EnterLocalFolder(folder);
  if (!CreateJobThread(entry, parameter)) ShowMessage(IDS_OUT_OF_MEMORY);
}

void RunJob(int (*body)(), int completion, int doneCommand) {
  JobRunning = 1;
  JobStopped = 0;
  {
    TransferJobScope scope;
    ResetJobWay();
    body();
  }
  JobRunning = 0;
  SendMessageA(MainWindow, WM_COMMAND, doneCommand, 0);
  ReportJobEnd(completion);
}

void ReportJobEnd(int completion) {
  // A window that closes once the job has ended asks nothing more of the user.
  if (ClosingAfterJob) return;
  if (JobStopped.exchange(0)) {
    ShowJobStopped();
  } else if (completion >= 0) {
    ShowCompletion(completion);
  }
}

namespace {

JobRow ReadJobRow(HWND list, int row) {
  JobRow r;
  r.name = ListRowText(list, row, 0);
  r.size = ListRowText(list, row, 1);
  r.date = ListRowText(list, row, 3);
  r.attributes = ListRowText(list, row, 4);
  r.folder = r.size == "   ";
  return r;
}

// One read of a list's rows: which rows, and what was read.
struct RowRead {
  HWND list = nullptr;
  bool selectedOnly = false;
  std::vector<JobRow> rows;
  bool served = false;  // read by the main window
};

void ReadRowsHere(RowRead& read) {
  if (read.selectedOnly) {
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(read.list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0)
      read.rows.push_back(ReadJobRow(read.list, row));
    return;
  }
  const int count = ListRowCount(read.list);
  read.rows.reserve(count > 0 ? count : 0);
  for (int row = 0; row < count; ++row) read.rows.push_back(ReadJobRow(read.list, row));
}

// The read a thread waits for in MsgReadJobRows; taken by whoever serves it first. The
// message carries no pointer: whatever sends it can only have a waiting read served.
std::atomic<RowRead*> PendingRowRead{nullptr};

bool OnListThread(HWND list) { return GetWindowThreadProcessId(list, nullptr) == GetCurrentThreadId(); }

// A job's thread has the main window read the rows in one message: each list message sent
// from another thread is a round trip between the threads, five of them per row. A second
// thread that finds the place taken reads the rows itself, as does one that finds no
// main window.
std::vector<JobRow> ReadRows(HWND list, bool selectedOnly) {
  RowRead read;
  read.list = list;
  read.selectedOnly = selectedOnly;
  RowRead* none = nullptr;
  if (MainWindow && !OnListThread(list) && PendingRowRead.compare_exchange_strong(none, &read)) {
    SendMessageA(MainWindow, MsgReadJobRows, 0, 0);
    RowRead* mine = &read;
    PendingRowRead.compare_exchange_strong(mine, nullptr);  // when it never came to be served
    if (read.served) return std::move(read.rows);
  }
  ReadRowsHere(read);
  return std::move(read.rows);
}

}  // namespace

void ServeJobRowRead() {
  if (RowRead* read = PendingRowRead.exchange(nullptr)) {
    ReadRowsHere(*read);
    read->served = true;
  }
}

std::vector<JobRow> SelectedJobRows(HWND list) { return ReadRows(list, true); }

std::vector<JobRow> AllJobRows(HWND list) { return ReadRows(list, false); }

const JobRow* ListRowsSnapshot::Find(const std::string& name) {
  if (!loaded_) {
    rows_ = AllJobRows(list_);
    std::vector<std::string> names;
    names.reserve(rows_.size());
    for (const JobRow& row : rows_) names.push_back(row.name);
    index_.emplace(names, SystemTextCase());
    loaded_ = true;
  }
  const size_t found = index_->Find(name);
  return found == NameIndex::kNone ? nullptr : &rows_[found];
}

int FindRowByName(HWND list, const std::string& name) {
  // On the list's own thread the names alone are read, up to the first match.
  if (OnListThread(list)) {
    const int count = ListRowCount(list);
    for (int row = 0; row < count; ++row)
      if (EqualNoCase(SystemTextCase(), ListRowText(list, row, 0), name)) return row;
    return -1;
  }
  const std::vector<JobRow> rows = AllJobRows(list);
  for (size_t row = 0; row < rows.size(); ++row)
    if (EqualNoCase(SystemTextCase(), rows[row].name, name)) return static_cast<int>(row);
  return -1;
}

static void SetRowState(HWND list, int row, UINT state, UINT mask) {
  LVITEMA item{};
  item.stateMask = mask;
  item.state = state;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SelectAllListRows(HWND list) { SetRowState(list, -1, LVIS_SELECTED, LVIS_SELECTED); }

void MarkListRows(HWND list, const std::vector<size_t>& rows) {
  SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_DROPHILITED);
  for (size_t row : rows)
    SetRowState(list, static_cast<int>(row), LVIS_SELECTED | LVIS_DROPHILITED, LVIS_SELECTED | LVIS_DROPHILITED);
}

void RefillLocalList() { SendMessageA(MainWindow, MsgRefreshLocal, 0, 0); }
void RefillRemoteList() { SendMessageA(MainWindow, MsgRefreshRemote, 0, 0); }

void ShowFileStatus(int formatId, const std::string& name) {
  ResourceTextBuffer = JobResourceText(formatId);
  ShowStatusText(FormatWithName(ResourceTextBuffer, name));
}

void ClearStatus() { ShowStatusText(" "); }
void ResetProgress() { SetProgressPosition(0); }

void ReportWithName(int formatId, const std::string& name) {
  ShowProgramMessageBox(FormatWithName(LoadResourceText(formatId), name), VAKO_CAPTION, MB_OK | MB_ICONINFORMATION);
}

int AskYesNoCancel(HWND list, int formatId, const std::string& name) {
  const std::string text = FormatWithName(LoadResourceText(formatId), name);
  return ShowOwnedMessageBox(list, text, VAKO_CAPTION, MB_YESNOCANCEL | MB_ICONQUESTION);
}

bool JobCanGoOn() { return !LostWay && !ConnectionWasLost(); }
void JobLostItsWay() { LostWay = true; }
void ResetJobWay() { LostWay = false; }

void ReturnToFolders(const std::string& local, const std::string& remote) {
  EnterLocalFolder(local);
  const bool back = ChangeRemoteFolder(remote) != 0;
  CurrentRemoteFolder = remote;
  RefillLocalList();
  RefillRemoteList();
  if (!back) {
    if (JobCanGoOn()) ShowMessage(IDS_FAILED_CHANGE_FOLDER);
    JobLostItsWay();
  }
}

std::string NewWorkTempFile(const char* prefix) {
  char path[MAX_PATH + 1] = {};
  if (!GetTempFileNameA(WorkFolder.c_str(), prefix, 0, path)) return "";
  return path;
}

int StoreConvertedFile(const std::string& localPath, const std::string& remoteName, int mode, const char* option) {
  if (!option || mode != 1) return StoreFile(localPath, remoteName, mode);
  const std::string converted = NewWorkTempFile("nk");
  int stored;
  if (!converted.empty() && ConvertKanjiFile(localPath.c_str(), converted.c_str(), option) == 0)
    stored = StoreFile(converted, remoteName, mode, localPath);
  else
    stored = StoreFile(localPath, remoteName, mode);
  if (!converted.empty()) DeleteFileA(converted.c_str());
  return stored;
}
