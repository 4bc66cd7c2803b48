// Whether the local list shows an LHA archive instead of a folder.
#pragma once
#include <string>

// Set by the archive commands; 0 while a folder is shown.
extern int ArchiveMode;
extern std::string ArchivePath;
