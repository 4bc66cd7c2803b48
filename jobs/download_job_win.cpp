#include "jobs/download_job_win.h"

#include <string>
#include <unordered_set>

#include "app/app_state_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/system_text_case_win.h"
#include "config/options.h"
#include "ftp/data_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/server_names_win.h"
#include "jobs/archive_transfer_win.h"
#include "jobs/job_rules.h"
#include "jobs/job_support_win.h"
#include "jobs/kanji_conversion_win.h"
#include "jobs/transfer_rules.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

bool DownloadingOverPlaceholders = false;

namespace {

constexpr size_t kRemoteFolderRoom = 2048;
int Depth = 0;

// The local files this job has written, their paths in lower case: Windows folds letter
// case, so a second remote name differing from one of them in case alone (a.txt and A.TXT
// on a server that keeps them apart) would land on the file received before it.
std::unordered_set<std::string> ReceivedPaths;

std::string FoldedPath(std::string path) {
  SystemTextCase().lower(path);
  return path;
}

// A text file just received whole is turned into Shift-JIS in place, through a copy in
// the work folder; a failed conversion leaves it as it came.
void ConvertReceivedFile(const std::string& path) {
  const std::string converted = NewWorkTempFile("nk");
  if (!converted.empty() && ConvertKanjiFile(path.c_str(), converted.c_str(), "-s") == 0 &&
      CopyFileA(converted.c_str(), path.c_str(), FALSE)) {
    DeleteFileA(converted.c_str());
    return;
  }
  ShowMessage(IDS_FAILED_CONVERT);
  if (!converted.empty()) DeleteFileA(converted.c_str());
}

void ReceiveOneFile(const JobRow& row, int mode, ListRowsSnapshot& localRows) {
  if ((Options.CompareDate2 & 1) && !DownloadingOverPlaceholders) {
    const JobRow* local = localRows.Find(row.name);
    if (local && !ShouldReceiveFile(Options.CompareDate2, row.date, true, local->date, SystemTextCase())) return;
  }
  ShowFileStatus(IDS_RECEIVING_FILE, row.name);
  const int64_t listed = SizeTextValue(row.size);
  const uint64_t size = listed > 0 ? static_cast<uint64_t>(listed) : 0;
  if (ArchiveMode == 1 && !DownloadingOverPlaceholders) {
    if (!ReceiveIntoArchive(row.name, mode, size) && JobCanGoOn()) ShowMessage(IDS_FAILED_RECEIVE);
    ResetProgress();
    return;
  }
  const std::string path = JoinLocalPath(ProcessCurrentFolder(), row.name);
  if (ReceivedPaths.count(FoldedPath(path))) {
    ReportWithName(IDS_SKIPPED_CASE_TWIN, row.name);
  } else if (!RetrieveFile(row.name, path, mode, size, &row.date)) {
    if (JobCanGoOn()) ShowMessage(IDS_FAILED_RECEIVE);
  } else {
    ReceivedPaths.insert(FoldedPath(path));
    if (Options.NKFDown == 1 && mode == kModeAscii && !LastTransferWasStopped) ConvertReceivedFile(path);
  }
  ResetProgress();
}

// One selected folder. False when this level ends here.
bool ReceiveFolder(const JobRow& row) {
  if (AskConfirmation(4, row.name.c_str()) != IDYES) return false;
  const bool localExists = FindRowByName(LocalList, row.name) >= 0;
  const std::string savedLocal = ProcessCurrentFolder();
  std::string savedRemote = CurrentRemoteFolder;
  if (!GetRemoteFolder(savedRemote, kRemoteFolderRoom)) return JobCanGoOn();

  bool intoOwnFolder = true;
  if (!localExists && Options.YesNo == 1 && !DownloadingOverPlaceholders) {
    const int answer = AskYesNoCancel(RemoteList, IDS_ASK_MAKE_LOCAL_FOLDER, row.name);
    if (answer == IDCANCEL) return false;
    intoOwnFolder = answer != IDNO;  // No: its files come into the current local folder
  }
  if (Depth >= kMaxFolderDepth) {
    ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, row.name);
    return true;
  }
  if (intoOwnFolder) {
    const std::string local = JoinLocalPath(savedLocal, row.name);
    if (!localExists) CreateDirectoryA(local.c_str(), nullptr);
    if (!EnterLocalFolder(local)) {
      ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
      return true;
    }
    RefillLocalList();
  }
  if (!ChangeRemoteFolder(row.name)) {
    if (!JobCanGoOn()) return false;
    ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, row.name);
    if (intoOwnFolder) {
      EnterLocalFolder(savedLocal);
      RefillLocalList();
    }
    return true;
  }
  CurrentRemoteFolder = RemoteChildPath(savedRemote, row.name);
  RefillRemoteList();
  UpdateWindow(MainWindow);
  SelectAllListRows(RemoteList);
  ++Depth;
  DownloadSelected();
  --Depth;
  ReturnToFolders(savedLocal, savedRemote);
  return JobCanGoOn();
}

}  // namespace

int DownloadSelected() {
  if (Depth == 0) ReceivedPaths.clear();  // a job of its own begins
  const std::vector<JobRow> marked = SelectedJobRows(RemoteList);
  ListRowsSnapshot localRows(LocalList);
  for (const JobRow& row : marked) {
    if (StopRequested) {
      StopRequested = 0;
      break;
    }
    if (!JobCanGoOn()) break;
    SharedNameBuffer = row.name;
    const int mode = ChooseTransferMode(row.name, TransferMode, Options, SystemTextCase());
    if (row.name == "." || row.name == "..") continue;
    // Only a name that stays inside the current folder is joined to it.
    if (!IsPlainEntryName(row.name)) continue;
    // A name shown with replacement marks names nothing on the server, so nothing here
    // either: it is reported (by ToServerName) and skipped, before a folder is made for it.
    std::string serverName;
    if (!ToServerName(row.name, serverName)) continue;
    if (!row.folder) {
      ReceiveOneFile(row, mode, localRows);
      continue;
    }
    const bool goOn = ReceiveFolder(row);
    localRows.Forget();
    if (!goOn) break;
  }
  ClearStatus();
  ResetProgress();
  return 0;
}

DWORD WINAPI DownloadJob(LPVOID) {
  // JobRunning is already 1: set before the thread was made.
  SendMessageA(MainWindow, MsgUpdateMenus, 1, 0);
  RunJob(DownloadSelected, 1, IDM_DOWNLOAD_DONE);
  return 0;
}

static int DownloadIntoFreshFolder() {
  DownloadingOverPlaceholders = true;
  DownloadSelected();
  DownloadingOverPlaceholders = false;
  return 0;
}

DWORD WINAPI DownloadForOpenJob(LPVOID) {
  SendMessageA(MainWindow, MsgUpdateMenus, 1, 0);
  RunJob(DownloadIntoFreshFolder, 1, IDM_DOWNLOAD_DONE);
  return 0;
}
