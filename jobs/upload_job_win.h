// The upload job: the entries selected in the local list, folders to any depth, into the
// server's folder shown when it started, on a thread of its own.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "jobs/job_support_win.h"

DWORD WINAPI UploadJob(LPVOID threadParameter);
int UploadSelected();

// One level of an upload, shared with the mirroring upload: the files of `rows` are sent
// under their upload names after the tests of "CompareDate" (an ASCII-mode file converted
// as "NKFUp" says, always with convertAlways), each folder handed to sendFolder, which
// answers whether the level goes on.
// `level` is the folder on both sides the rows are sent from and to.
using SendFolderStep = bool (*)(const JobRow& row, const std::string& remoteName, JobLevel& level);
void SendLevel(const std::vector<JobRow>& rows, bool convertAlways, SendFolderStep sendFolder, JobLevel& level);
