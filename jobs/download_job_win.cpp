#include "jobs/download_job_win.h"

#include <iterator>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/app_state_win.h"
#include "app/archive_mode_win.h"
#include "app/message_boxes_win.h"
#include "app/system_text_case_win.h"
#include "config/options.h"
#include "ftp/data_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/server_names_win.h"
#include "jobs/archive_transfer_win.h"
#include "jobs/job_reconnect_win.h"
#include "jobs/job_rules.h"
#include "jobs/job_support_win.h"
#include "jobs/kanji_conversion_win.h"
#include "jobs/transfer_rules.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

bool DownloadingOverPlaceholders = false;

namespace {


// The local files this job has written, their paths in lower case: Windows folds letter
// case, so a second remote name differing from one of them in case alone (a.txt and A.TXT
// on a server that keeps them apart) would land on the file received before it.
// A folder's paths are let go once the walk has left it for good, so that the job holds
// those of the folders it is in, not of every file it has seen.
std::unordered_set<std::string> ReceivedPaths;
// Folders being walked that another remote folder may lead into again: one beside a
// remote name differing from its own in letter case alone. While there is one, nothing
// is let go.
int FoldersThatMayComeBack = 0;

std::string FoldedPath(std::string path) {
  SystemTextCase().lower(path);
  return path;
}

// A question may put a folder's entries into the folder above (its answer No), beside
// that folder's own: then any folder of the job may be reached again, and nothing is let go.
bool FoldersMayMerge() { return Options.YesNo == 1 && !DownloadingOverPlaceholders; }

// Per depth of the walk, the names of the level's remote rows that another row there
// differs from in letter case alone, folded: made once per level, since a look through
// every row per folder would cost the square of a folder of folders.
struct CaseTwins {
  bool made = false;
  std::unordered_set<std::string> folded;
};
std::vector<CaseTwins> TwinsByDepth;

bool HasCaseTwin(const JobLevel& level, const std::string& name) {
  const size_t depth = static_cast<size_t>(level.depth);
  if (TwinsByDepth.size() <= depth) TwinsByDepth.resize(depth + 1);
  CaseTwins& twins = TwinsByDepth[depth];
  if (!twins.made) {
    std::unordered_set<std::string> seen;
    for (const JobRow& row : level.remoteRows) {
      std::string folded = FoldedPath(row.name);
      if (!seen.insert(folded).second) twins.folded.insert(std::move(folded));
    }
    twins.made = true;
  }
  return twins.folded.count(FoldedPath(name)) != 0;
}

// The level at that depth is done with: the next one there has rows of its own.
void ForgetCaseTwins(int depth) {
  if (static_cast<size_t>(depth) < TwinsByDepth.size()) TwinsByDepth[static_cast<size_t>(depth)] = CaseTwins{};
}

void ForgetReceivedBelow(const std::string& folder) {
  const std::string below = FoldedPath(folder) + "\\";
  for (auto path = ReceivedPaths.begin(); path != ReceivedPaths.end();)
    path = path->compare(0, below.size(), below) == 0 ? ReceivedPaths.erase(path) : std::next(path);
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

// The file, tried again from where it broke while the connection comes back.
int RetrieveAgainAfterBreaks(const JobRow& row, const std::string& path, int mode, uint64_t size,
                             const JobLevel& level) {
  StepTries tries;
  int received;
  while (!(received = RetrieveFile(row.name, path, mode, size, &row.date)) && StepGoesOnAgain(level.remote, tries, true)) {
  }
  return received;
}

void ReceiveOneFile(const JobRow& row, int mode, const JobLevel& level) {
  if ((Options.CompareDate2 & 1) && !DownloadingOverPlaceholders) {
    const JobRow* local = FindLocalRow(level, row.name);
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
  const std::string path = JoinLocalPath(level.local, row.name);
  if (ReceivedPaths.count(FoldedPath(path))) {
    ReportWithName(IDS_SKIPPED_CASE_TWIN, row.name);
  } else if (!RetrieveAgainAfterBreaks(row, path, mode, size, level)) {
    if (JobCanGoOn()) ShowMessage(IDS_FAILED_RECEIVE);
    else CountFileLeft();
  } else {
    ReceivedPaths.insert(FoldedPath(path));
    if (!LastTransferWasStopped) CountFileDone(size);
    if (Options.NKFDown == 1 && mode == kModeAscii && !LastTransferWasStopped) ConvertReceivedFile(path);
  }
  ResetProgress();
}

bool IsLocalFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ReceiveRows(const std::vector<JobRow>& rows, JobLevel& level);

// One selected folder. False when this level ends here.
bool ReceiveFolder(const JobRow& row, JobLevel& level) {
  if (AskConfirmation(4, row.name.c_str()) != IDYES) return false;
  const bool localExists = FindLocalRow(level, row.name) != nullptr;

  bool intoOwnFolder = true;
  if (!localExists && Options.YesNo == 1 && !DownloadingOverPlaceholders) {
    const int answer = AskYesNoCancel(MainWindow, IDS_ASK_MAKE_LOCAL_FOLDER, row.name);
    if (answer == IDCANCEL) return false;
    intoOwnFolder = answer != IDNO;  // No: its files come into the current local folder
  }
  if (level.depth >= kMaxFolderDepth) {
    ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, row.name);
    return true;
  }
  // The server's side first: a link back up the tree makes no local folder.
  JobLevel child;
  bool loop = false;
  if (!EnterRemoteChild(level, row.name, child, loop)) {
    if (!JobCanGoOn()) return false;
    if (!loop) ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, row.name);
    return JobCanGoOn();
  }
  child.local = intoOwnFolder ? JoinLocalPath(level.local, row.name) : level.local;
  if (intoOwnFolder) {
    if (!localExists) CreateDirectoryA(child.local.c_str(), nullptr);
    if (!IsLocalFolder(child.local)) {
      ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
      ReturnToLevel(level);
      return JobCanGoOn();
    }
  }
  // Its local rows only tell which files are newer here.
  if (intoOwnFolder) {
    ListLocalLevel(child);
  } else {
    child.localRows = level.localRows;
  }
  const bool mayComeBack = HasCaseTwin(level, row.name);
  FoldersThatMayComeBack += mayComeBack ? 1 : 0;
  if (ListRemoteLevel(child)) ReceiveRows(child.remoteRows, child);
  ForgetCaseTwins(child.depth);
  FoldersThatMayComeBack -= mayComeBack ? 1 : 0;
  if (intoOwnFolder && !mayComeBack && FoldersThatMayComeBack == 0 && !FoldersMayMerge())
    ForgetReceivedBelow(child.local);
  ReturnToLevel(level);
  return JobCanGoOn();
}

void ReceiveRows(const std::vector<JobRow>& rows, JobLevel& level) {
  EntryClassCache classes(Options, SystemTextCase());
  for (size_t index = 0; index < rows.size(); ++index) {
    const JobRow& row = rows[index];
    if (!JobCanGoOn()) {
      CountFilesLeft(rows, index);
      break;
    }
    if (row.name == "." || row.name == "..") continue;
    // Only a name that stays inside the current folder is joined to it.
    if (!IsPlainEntryName(row.name)) continue;
    SetLastJobName(row.name);
    const int mode = classes.ModeOf(row.name, TransferMode);
    // A name shown with replacement marks names nothing on the server, so nothing here
    // either: it is reported (by ToServerName) and skipped, before a folder is made for it.
    std::string serverName;
    if (!ToServerName(row.name, serverName)) continue;
    if (!row.folder) {
      ReceiveOneFile(row, mode, level);
      continue;
    }
    if (!ReceiveFolder(row, level)) {
      CountFilesLeft(rows, index + 1);
      break;
    }
  }
}

}  // namespace

int DownloadSelected() {
  ReceivedPaths.clear();
  TwinsByDepth.clear();
  FoldersThatMayComeBack = 0;
  JobLevel top = StartLevel();
  ReceiveRows(JobStart.rows, top);
  ClearStatus();
  ResetProgress();
  return 0;
}

DWORD WINAPI DownloadJob(LPVOID) {
  // JobRunning is already 1: set before the thread was made.
  PostMessageA(MainWindow, MsgUpdateMenus, 1, 0);
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
  PostMessageA(MainWindow, MsgUpdateMenus, 1, 0);
  RunJob(DownloadIntoFreshFolder, 1, IDM_DOWNLOAD_DONE);
  return 0;
}
