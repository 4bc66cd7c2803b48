// The local file list: the rows of the process's current folder.
#pragma once
#include <windows.h>

#include <string>

#include "app/archive_mode_win.h"

// Refills the list from the process's current folder, which becomes CurrentLocalFolder;
// records the folder's sub-folders in the local tree. Answers 1.
int RefreshLocalList(HWND list);
// The same for the folder named, which becomes CurrentLocalFolder; the process's current
// folder stays where it is (a job's folders are shown so).
int ShowLocalFolder(HWND list, const std::string& folder);

// True when the last refill read the whole folder and the list took every row.
extern bool LocalListIsWhole;

// Makes the folder the process's current folder; 1 on success.
int EnterLocalFolder(const std::string& folder);
// The process's current folder, any length.
std::string ProcessCurrentFolder();
