// The file operations on the selection of one pane: recursive delete on either side, a new
// folder or file, the start of an in-place rename, and the permissions of remote entries.
// They run on the main thread.
#pragma once
#include <string>

int DeleteRemoteSelected();
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
