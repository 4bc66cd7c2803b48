// The download job: the entries selected in the remote list, folders to any depth, into
// the process's current folder, on a thread of its own.
#pragma once
#include <windows.h>

DWORD WINAPI DownloadJob(LPVOID threadParameter);
// The same into a fresh sub-folder of the work folder, the current folder, for Open: the
// file opened is always the one just received.
DWORD WINAPI DownloadForOpenJob(LPVOID threadParameter);
// Set while a download fills a fresh sub-folder of the work folder (the placeholders of a
// drag or a clipboard copy, a file for Open): every file is received (what the local pane
// lists is elsewhere), into a file of the folder even in archive mode, and no question asks
// whether to make a folder.
extern bool DownloadingOverPlaceholders;
int DownloadSelected();
