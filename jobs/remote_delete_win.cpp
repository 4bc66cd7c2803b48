#include "jobs/remote_delete_win.h"

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "app/tree_cache.h"
#include "ftp/remote_commands_win.h"
#include "jobs/job_reconnect_win.h"
#include "jobs/job_rules.h"
#include "resources/resource_ids.h"

// One level of the remote delete, by the rows given; the folders below are listed by the
// walk itself. False when the walk must stop altogether: it could not come back to the
// folder it started from, so no name can be trusted any more.
bool DeleteRemoteRows(const std::vector<JobRow>& rows, const JobLevel& level) {
  for (const JobRow& row : rows) {
    if (!JobCanGoOn()) return false;
    if (!row.folder || row.IsLink()) {
      if (!IsPlainEntryName(row.name)) continue;
      ShowFileStatus(IDS_DELETING_FILE, row.name);
      StepTries tries;
      int deleted;
      while (!(deleted = DeleteRemoteFile(row.name)) && StepGoesOnAgain(level.remote, tries)) {
      }
      if (!deleted && JobCanGoOn()) ShowMessage(IDS_FAILED_DELETE_FILE);
      continue;
    }
    if (!IsPlainEntryName(row.name)) continue;  // "." and ".." among them
    if (AskConfirmation(5, row.name.c_str()) != IDYES) break;
    // A folder that cannot be entered or listed is left whole.
    JobLevel child;
    bool loop = false;
    if (level.depth >= kMaxFolderDepth || !EnterRemoteChild(level, row.name, child, loop)) {
      if (!JobCanGoOn()) return false;
      if (!loop) ReportWithName(IDS_SKIPPED_REMOTE_FOLDER, row.name);
      continue;
    }
    const bool listed = ListRemoteLevel(child);
    const bool inner = listed && child.remoteWhole && DeleteRemoteRows(child.remoteRows, child);
    ShowFileStatus(IDS_DELETING_FOLDER, row.name);
    if (!ReturnToLevel(level)) return false;
    if (!JobCanGoOn()) return false;
    if (!inner) continue;
    StepTries tries;
    int removed;
    while (!(removed = RemoveRemoteFolder(row.name)) && StepGoesOnAgain(level.remote, tries)) {
    }
    if (removed) {
      RemoveTreeCacheLine(TreeTempPath, TreeCacheLineOf(level.remote, row.name));
    } else if (JobCanGoOn()) {
      ShowMessage(IDS_FAILED_DELETE_FOLDER);
    }
  }
  return true;
}

