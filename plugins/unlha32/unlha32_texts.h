// The texts unlha32.dll shows, in its own string table (unlha32.rc) in an English and a
// Japanese edition; the system's language picks one, as it does for the program's texts.
#pragma once

#define IDS_LHA_RENAME_CAPTION 1
#define IDS_LHA_RENAME_PROMPT 2
#define IDS_LHA_OK 3
#define IDS_LHA_CANCEL 4
#define IDS_LHA_ABOUT 5
#define IDS_LHA_ABOUT_CAPTION 6

#ifndef RC_INVOKED
#include <string>

// The text of the library's string-table entry ID; empty when there is none.
std::wstring LibraryText(int id);
#endif
