// The download job: the entries selected in the remote list, folders to any depth, into
// the process's current folder, on a thread of its own.
#pragma once
#include <windows.h>

DWORD WINAPI DownloadJob(LPVOID threadParameter);
int DownloadSelected();
