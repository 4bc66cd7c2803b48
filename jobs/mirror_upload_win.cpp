#include "jobs/mirror_upload_win.h"

#include "app/app_state_win.h"
#include "app/archive_mode_win.h"
#include "app/message_boxes_win.h"
#include "app/system_text_case_win.h"
#include "archive/archive_names.h"
#include "config/options.h"
#include "ftp/data_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "jobs/job_reconnect_win.h"
#include "jobs/job_rules.h"
#include "jobs/job_support_win.h"
#include "jobs/remote_delete_win.h"
#include "jobs/transfer_rules.h"
#include "jobs/upload_job_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

namespace {

void MirrorLevel(JobLevel& level);

// One local sub-folder mirrored onto its remote namesake. A folder that cannot be made or
// entered on either side is reported and left alone: its files never go anywhere else, and
// no other folder is compared with it. False when pass 1 of this level ends here.
bool MirrorSubFolder(const JobRow& row, const std::string& remoteName, JobLevel& level) {
  if (AskConfirmation(2, remoteName.c_str()) != IDYES) return false;
  if (!FindRemoteRow(level, remoteName) && Options.YesNo == 1) {
    const int answer = AskYesNoCancel(MainWindow, IDS_ASK_MAKE_REMOTE_FOLDER, remoteName);
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
  }
  if (level.depth >= kMaxFolderDepth) {
    ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
    return true;
  }
  MakeJobRemoteFolder(level, remoteName);  // it may exist already
  JobLevel child;
  bool loop = false;
  if (!EnterRemoteChild(level, remoteName, child, loop)) {
    if (JobCanGoOn() && !loop) ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, remoteName);
    return JobCanGoOn();
  }
  child.local = JoinLocalPath(level.local, row.name);
  ListRemoteLevel(child);
  if (ListLocalLevel(child)) {
    MirrorLevel(child);
  } else {
    ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
  }
  ReturnToLevel(level);
  return JobCanGoOn();
}

std::vector<std::string> NamesOf(const std::vector<JobRow>& rows) {
  std::vector<std::string> names;
  names.reserve(rows.size());
  for (const JobRow& row : rows) names.push_back(row.name);
  return names;
}

// Pass 2: the remote entries without a local counterpart are deleted, but only when both
// listings hold the whole of their folders: an entry missing from a listing that broke off
// is not known to be gone.
void DeleteRemoteOnlyEntries(JobLevel& level) {
  if (!JobCanGoOn()) return;
  // Nothing is deleted on the word of a listing from before a login again: whatever broke
  // off then may have left the folder otherwise than it was listed.
  if (level.listedAtLogin != JobLoginsAgain()) ListRemoteLevel(level);
  if (!JobCanGoOn()) return;
  if (!level.remoteWhole || !level.localWhole) {
    ReportWithName(IDS_KEPT_UNLISTED_FOLDER, level.remote);
    return;
  }
  std::vector<std::string> localNames;
  localNames.reserve(level.localRows.size());
  for (const JobRow& row : level.localRows) {
    if (row.name == "..") continue;
    std::string name = row.name;
    // A member of an archive was sent below the remote folder its first part names.
    if (ArchiveMode == 1) name = MemberUploadPath(name).substr(0, MemberUploadPath(name).find('/'));
    localNames.push_back(std::move(ApplyNameCase(name, Options, SystemTextCase())));
  }
  bool keptByCase = false;
  std::vector<size_t> gone = RemoteNamesWithoutCounterpart(NamesOf(level.remoteRows), localNames, SystemTextCase(), &keptByCase);
  if (keptByCase) {
    // The listing is older than this level's stores. Listed afresh, a server that keeps
    // letter case apart shows the names just sent beside the ones differing in case alone,
    // which are then gone after all; one that folds case still shows only the old names.
    ListRemoteLevel(level);
    if (!level.remoteWhole) {
      if (JobCanGoOn()) ReportWithName(IDS_KEPT_UNLISTED_FOLDER, level.remote);
      return;
    }
    gone = RemoteNamesWithoutCounterpart(NamesOf(level.remoteRows), localNames, SystemTextCase());
  }
  if (gone.empty()) return;
  std::vector<JobRow> doomed;
  for (size_t index : gone) doomed.push_back(level.remoteRows[index]);
  DeleteRemoteRows(doomed, level);
}

void MirrorLevel(JobLevel& level) {
  SendLevel(level.localRows, true, MirrorSubFolder, level);
  DeleteRemoteOnlyEntries(level);
}

}  // namespace

int MirrorFolder() {
  JobLevel top = StartLevel();
  // The whole local folder as the pane showed it when the job started.
  top.localRows = JobStart.rows;
  MirrorLevel(top);
  ClearStatus();
  return 0;
}

DWORD WINAPI MirrorUploadJob(LPVOID) {
  RunJob(MirrorFolder, 0, IDM_UPLOAD_DONE);
  return 0;
}
