// The download job: the entries selected in the remote list, folders to any depth, into
// the process's current folder, on a thread of its own.
#pragma once
#include <windows.h>

DWORD WINAPI DownloadJob(LPVOID threadParameter);
// Set while a download fills the placeholders of a drag or a clipboard copy in the work
// folder: every file is received (a placeholder is newer than anything listed), into a file
// of the folder even in archive mode, and no question asks whether to make a folder.
extern bool DownloadingOverPlaceholders;
int DownloadSelected();
