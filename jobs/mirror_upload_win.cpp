#include "jobs/mirror_upload_win.h"

#include "app/app_state_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/system_text_case_win.h"
#include "archive/archive_names.h"
#include "config/options.h"
#include "ftp/data_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/remote_view_fill_win.h"
#include "jobs/file_operations_win.h"
#include "jobs/job_rules.h"
#include "jobs/job_support_win.h"
#include "jobs/transfer_rules.h"
#include "jobs/upload_job_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

namespace {

constexpr size_t kRemoteFolderRoom = 2048;
int Depth = 0;

// One local sub-folder mirrored onto its remote namesake. A folder that cannot be made or
// entered on either side is reported and left alone: its files never go anywhere else, and
// no other folder is compared with it. False when pass 1 of this level ends here.
bool MirrorSubFolder(const JobRow& row, const std::string& remoteName) {
  if (AskConfirmation(2, remoteName.c_str()) != IDYES) return false;
  const std::string savedLocal = ProcessCurrentFolder();
  std::string savedRemote = CurrentRemoteFolder;
  if (!GetRemoteFolder(savedRemote, kRemoteFolderRoom)) return false;
  if (FindRowByName(RemoteList, remoteName) < 0 && Options.YesNo == 1) {
    const int answer = AskYesNoCancel(LocalList, IDS_ASK_MAKE_REMOTE_FOLDER, remoteName);
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
  }
  if (Depth >= kMaxFolderDepth) {
    ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
    return true;
  }
  MakeRemoteFolder(remoteName);  // it may exist already
  if (!ChangeRemoteFolder(remoteName)) {
    if (JobCanGoOn()) ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, remoteName);
    return JobCanGoOn();
  }
  CurrentRemoteFolder = RemoteChildPath(savedRemote, remoteName);
  RefillRemoteList();
  if (EnterLocalFolder(JoinLocalPath(savedLocal, row.name))) {
    RefillLocalList();
    ++Depth;
    MirrorFolder();
    --Depth;
  } else {
    ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
  }
  ReturnToFolders(savedLocal, savedRemote);
  return JobCanGoOn();
}

std::vector<std::string> RemoteRowNames() {
  std::vector<std::string> names;
  for (const JobRow& row : AllJobRows(RemoteList)) names.push_back(row.name);
  return names;
}

// Pass 2: the remote entries without a local counterpart are deleted, but only when both
// lists show the whole of their folders: an entry missing from a list that broke off is
// not known to be gone.
void DeleteRemoteOnlyEntries() {
  if (!JobCanGoOn()) return;
  if (!RemoteListIsWhole || !LocalListIsWhole) {
    ReportWithName(IDS_KEPT_UNLISTED_FOLDER, CurrentRemoteFolder);
    return;
  }
  std::vector<std::string> localNames;
  for (JobRow& row : AllJobRows(LocalList)) {
    // A member of an archive was sent below the remote folder its first part names.
    if (ArchiveMode == 1) row.name = MemberUploadPath(row.name).substr(0, MemberUploadPath(row.name).find('/'));
    ApplyNameCase(row.name, Options, SystemTextCase());
    localNames.push_back(row.name);
  }
  bool keptByCase = false;
  std::vector<size_t> gone = RemoteNamesWithoutCounterpart(RemoteRowNames(), localNames, SystemTextCase(), &keptByCase);
  if (keptByCase) {
    // The rows may be older than this level's stores. Listed afresh, a server that keeps
    // letter case apart shows the names just sent beside the ones differing in case alone,
    // which are then gone after all; one that folds case still shows only the old names.
    RefillRemoteList();
    if (!RemoteListIsWhole) {
      if (JobCanGoOn()) ReportWithName(IDS_KEPT_UNLISTED_FOLDER, CurrentRemoteFolder);
      return;
    }
    gone = RemoteNamesWithoutCounterpart(RemoteRowNames(), localNames, SystemTextCase());
  }
  if (gone.empty()) return;
  MarkListRows(RemoteList, gone);
  DeleteRemoteSelected();
}

}  // namespace

int MirrorFolder() {
  SendLevel(AllJobRows(LocalList), true, MirrorSubFolder);
  DeleteRemoteOnlyEntries();
  ClearStatus();
  return 0;
}

DWORD WINAPI MirrorUploadJob(LPVOID) {
  RunJob(MirrorFolder, 0, IDM_UPLOAD_DONE);
  return 0;
}
