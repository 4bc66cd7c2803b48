#include "jobs/job_support_win.h"

#include <atomic>
#include <cstdio>

#include "app/app_state_win.h"
#include "app/local_folder_read_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "app/system_text_case_win.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/remote_folder_listing_win.h"
#include "ftp/transfer_progress.h"
#include "jobs/job_rules.h"
#include "jobs/job_reconnect_win.h"
#include "jobs/job_texts_win.h"
#include "jobs/kanji_conversion_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

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

// The running totals beside the file's own progress: "[12 files, 3.4 MB, 1.1 MB/s]".
static std::string SizeText(double bytes) {
  char text[32];
  if (bytes < 1024.0 * 1024.0)
    snprintf(text, sizeof text, "%.1f KB", bytes / 1024.0);
  else
    snprintf(text, sizeof text, "%.1f MB", bytes / (1024.0 * 1024.0));
  return text;
}

static std::string TotalsText() {
  const JobTotals totals = ReadJobTotals();
  const DWORD elapsed = GetTickCount() - totals.startTick;
  const double rate = elapsed > 0 ? static_cast<double>(totals.bytes) * 1000.0 / elapsed : 0.0;
  std::string text = LoadResourceText(IDS_JOB_TOTALS);
  for (const std::string& value : {std::to_string(totals.files), SizeText(static_cast<double>(totals.bytes)), SizeText(rate)}) {
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, value);
  }
  return text;
}

void RunJob(int (*body)(), int completion, int doneCommand) {
  JobRunning = 1;
  JobStopped = 0;
  ResetJobTotals();
  SetStatusSuffix(TotalsText);
  {
    TransferJobScope scope;
    ResetJobWay();
    ResetJobLoginsAgain();
    body();
  }
  SetStatusSuffix(nullptr);
  StopRequested = 0;  // a Stop the job took: the window's last refill lists whole
  ClearStatus();
  // A job that lost its connection did not complete: the window's lost-connection message
  // says what happened, and a completion message would say otherwise.
  const bool lost = ConnectionWasLost() != 0;
  PostJobEnd(doneCommand);
  ReportJobEnd(lost ? -1 : completion);
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

static std::vector<JobRow> RowsOfView(const RemoteFolderView& view) {
  std::vector<JobRow> rows;
  rows.reserve(view.rows.size());
  for (const ListRow& row : view.rows)
    if (row.texts.column[0] != "..") rows.push_back(JobRowOf(row));
  return rows;
}

JobLevel StartLevel() {
  JobLevel level;
  level.local = JobStart.localFolder;
  level.localRows = JobStart.localRows;
  level.localWhole = JobStart.localWhole;
  level.remoteRows = RowsOfView(JobStart.remote);
  level.remoteWhole = JobStart.remote.whole;
  level.panesFollow = JobStart.localPaneFollows;
  level.remote = JobStart.remote.folder;
  // A session the server dropped while the user looked on is logged in again here.
  std::string asked;
  StepTries tries;
  while (Connected && !GetRemoteFolder(asked, 2048))
    if (!StepGoesOnAgain(level.remote, tries)) break;
  if (!asked.empty()) level.remote = asked;
  RemoteFolderView view = JobStart.remote;
  view.folder = level.remote;
  level.remoteView = std::make_shared<const RemoteFolderView>(std::move(view));
  return level;
}

const JobRow* JobRowLookup::Find(const std::vector<JobRow>& rows, const std::string& name) const {
  if (!index_ || rows_ != rows.data() || count_ != rows.size()) {
    std::vector<std::string> names;
    names.reserve(rows.size());
    for (const JobRow& row : rows) names.push_back(row.name);
    index_.emplace(names, SystemTextCase(), SystemSortKey);
    rows_ = rows.data();
    count_ = rows.size();
  }
  const size_t found = index_->Find(name);
  return found == NameIndex::kNone ? nullptr : &rows[found];
}

const JobRow* FindLocalRow(const JobLevel& level, const std::string& name) {
  return level.localLookup.Find(level.localRows, name);
}

const JobRow* FindRemoteRow(const JobLevel& level, const std::string& name) {
  return level.remoteLookup.Find(level.remoteRows, name);
}

bool EnterRemoteChild(const JobLevel& parent, const std::string& name, JobLevel& child, bool& loop) {
  loop = false;
  StepTries tries;
  while (!ChangeRemoteFolder(name))
    if (!StepGoesOnAgain(parent.remote, tries)) return false;
  child.remote = RemoteChildPath(parent.remote, name);
  std::string asked;
  while (!GetRemoteFolder(asked, 2048))
    if (!StepGoesOnAgain(child.remote, tries)) break;
  if (!asked.empty()) child.remote = asked;
  child.remoteAbove = parent.remoteAbove;
  child.remoteAbove.push_back(parent.remote);
  child.panesFollow = parent.panesFollow;
  child.depth = parent.depth + 1;
  // A link to "." or to a folder above leads where the walk has been: following it would
  // never end (two such links double the work on every level).
  for (const std::string& above : child.remoteAbove)
    if (above == child.remote) {
      loop = true;
      ReturnToLevel(parent);
      return false;
    }
  return true;
}

bool ListRemoteLevel(JobLevel& level) {
  StepTries tries;
  bool listed;
  auto view = std::make_shared<RemoteFolderView>();
  while (!(listed = ListRemoteFolder(level.remote, *view)) && StepGoesOnAgain(level.remote, tries)) {
  }
  level.listedAtLogin = JobLoginsAgain();
  level.remoteRows = RowsOfView(*view);
  level.remoteLookup.Forget();
  level.remoteWhole = view->whole;
  level.remoteView = std::move(view);
  if (level.panesFollow) PostRemoteFolderView(level.remoteView);
  if (!listed && JobCanGoOn()) ShowMessage(IDS_FAILED_LISTING);
  return listed;
}

bool ListLocalLevel(JobLevel& level, bool show) {
  std::vector<LocalFileFacts> items;
  level.localRows.clear();
  level.localLookup.Forget();
  level.localWhole = ReadLocalFolder(level.local, items, false);
  if (level.localWhole) {
    level.localRows.reserve(items.size());
    ListRow row;
    for (const LocalFileFacts& facts : items) {
      row.texts = LocalFactTexts(facts);
      level.localRows.push_back(JobRowOf(std::move(row)));
    }
  }
  if (show && level.panesFollow) PostLocalFolderView(level.local);
  return level.localWhole;
}

void ShowLevel(const JobLevel& level) {
  if (!level.panesFollow) return;
  PostLocalFolderView(level.local);
  PostRemoteFolderView(level.remoteView);
}

bool ReturnToLevel(const JobLevel& parent) {
  StepTries tries;
  bool back;
  while (!(back = ChangeRemoteFolder(parent.remote) != 0) && StepGoesOnAgain(parent.remote, tries)) {
  }
  ShowLevel(parent);
  if (!back) {
    if (JobCanGoOn()) ShowMessage(IDS_FAILED_CHANGE_FOLDER);
    JobLostItsWay();
  }
  return back;
}

void CountFileDone(uint64_t bytes) { CountJobFile(bytes); }

void ShowFileStatus(int formatId, const std::string& name) {
  ResourceTextBuffer = JobResourceText(formatId);
  ShowStatusText(FormatWithName(ResourceTextBuffer, name));
}

void ClearStatus() { ShowStatusText(" "); }
void ResetProgress() { SetProgressPosition(0); }

void ReportWithName(int formatId, const std::string& name) {
  ShowProgramMessageBox(FormatWithName(LoadResourceText(formatId), name), VAKO_CAPTION, MB_OK | MB_ICONINFORMATION);
}

int AskYesNoCancel(HWND owner, int formatId, const std::string& name) {
  const std::string text = FormatWithName(LoadResourceText(formatId), name);
  return ShowOwnedMessageBox(owner, text, VAKO_CAPTION, MB_YESNOCANCEL | MB_ICONQUESTION);
}

bool JobCanGoOn() { return !LostWay && !ConnectionWasLost() && !(JobRunning && JobStopped); }
void JobLostItsWay() { LostWay = true; }
void ResetJobWay() { LostWay = false; }

std::string NewWorkTempFile(const char* prefix) {
  char path[MAX_PATH + 1] = {};
  if (!GetTempFileNameA(WorkFolder.c_str(), prefix, 0, path)) return "";
  return path;
}

int MakeJobRemoteFolder(const JobLevel& level, const std::string& name) {
  StepTries tries;
  int made;
  while (!(made = MakeRemoteFolder(name)) && StepGoesOnAgain(level.remote, tries)) {
  }
  return made;
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

namespace {
SRWLOCK NameLock = SRWLOCK_INIT;
std::string LastName;
}  // namespace

void SetLastJobName(const std::string& name) {
  AcquireSRWLockExclusive(&NameLock);
  LastName = name;
  ReleaseSRWLockExclusive(&NameLock);
}

std::string LastJobName() {
  AcquireSRWLockExclusive(&NameLock);
  std::string name = LastName;
  ReleaseSRWLockExclusive(&NameLock);
  return name;
}
