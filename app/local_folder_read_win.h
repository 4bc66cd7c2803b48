// The items of a local folder read from the file system, by its absolute path: its
// find-data records carry the whole 64-bit size and the exact write time.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/local_rows.h"

// False when the folder cannot be read. askShell: the shell's type name and icon too.
bool ReadLocalFolder(const std::string& folder, std::vector<LocalFileFacts>& items, bool askShell);
