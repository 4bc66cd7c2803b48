#include "shell/remote_selection_win.h"

#include "app/app_state_win.h"
#include "app/job_start_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "jobs/job_rules.h"
#include "jobs/job_support_win.h"
#include "resources/resource_ids.h"

bool RemoteEntriesMayBeOffered() {
  if (JobRunning) {
    ShowMessage(IDS_SHELL_JOB_RUNNING);
    return false;
  }
  return Connected != 0;
}

std::vector<Placeholder> MakeRemotePlaceholders(const std::string& folder, ShellFolderItems& items) {
  std::vector<Placeholder> made;
  for (const JobRow& row : SelectedJobRows(RemoteList)) {
    if (made.size() >= kMaxOfferedEntries) break;
    // The download takes only such names; any other would climb out of the work folder.
    if (!IsPlainEntryName(row.name)) continue;
    Placeholder placeholder;
    placeholder.name = row.name;
    placeholder.folder = row.folder;
    if (!MakePlaceholder(folder, placeholder) || !items.Add(row.name)) continue;
    made.push_back(placeholder);
  }
  return made;
}
