// The file operations on the selection of one pane: recursive delete on either side, a new
// folder or file, the start of an in-place rename, and the permissions of remote entries.
// They run on the main thread; the mirroring upload also deletes remote entries from its
// own thread.
#pragma once
#include <string>
#include <vector>

#include "jobs/job_support_win.h"

int DeleteRemoteSelected();
// The remote delete of the rows, entries of level's remote folder, folders to any depth.
bool DeleteRemoteRows(const std::vector<JobRow>& rows, const JobLevel& level);
int DeleteLocalSelected();
int NewLocalFolder();
int NewLocalFile();
int NewRemoteFolder();
int BeginRenameLocal();
int BeginRenameRemote();
void ChangeRemotePermission(const std::string& text);

// The commands around them: the Delete command (40013) with its question, and Change
// Attributes (40096) with its dialog.
void DeleteSelection();
void ChangePermissionOfSelection();
