// The local file list: the rows of the process's current folder.
#pragma once
#include <windows.h>

#include <string>

// An LHA archive shown in the local list instead of a folder (set by the archive
// commands; 0 while a folder is shown).
extern int ArchiveMode;
extern std::string ArchivePath;

// Refills the list from the process's current folder, which becomes CurrentLocalFolder;
// records the folder's sub-folders in the local tree. Answers 1.
int RefreshLocalList(HWND list);

// True when the last refill read the whole folder and the list took every row.
extern bool LocalListIsWhole;

// Makes the folder the process's current folder; 1 on success.
int EnterLocalFolder(const std::string& folder);
// The process's current folder, any length.
std::string ProcessCurrentFolder();
