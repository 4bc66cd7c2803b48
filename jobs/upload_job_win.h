// The upload job: the entries selected in the local list, folders to any depth, into the
// server's current folder, on a thread of its own.
#pragma once
#include <windows.h>

#include <string>

#include "jobs/job_support_win.h"

DWORD WINAPI UploadJob(LPVOID threadParameter);
int UploadSelected();

// One file of the local list sent under its upload name, after the tests of "CompareDate"
// against the remote list; option is the nkf conversion of an ASCII-mode file, or null.
// Shared with the mirroring upload.
void SendListedFile(const JobRow& row, const std::string& remoteName, int mode, const char* option,
                    ListRowsSnapshot& remoteRows);
