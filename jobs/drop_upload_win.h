// Files and folders dropped on the main window from the shell: copied into the local
// folder when dropped on the local pane, sent to the server's current folder otherwise.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

// Starts the drop job on a thread of its own (the main window calls it on a drop while
// no job runs).
void StartDropUpload(HDROP drop, int toolbarHeight);

DWORD WINAPI DropUploadJob(LPVOID dropHandle);
int UploadDroppedFile(const std::string& path);
int UploadDroppedFolder(const std::string& path);
