#include "app/local_folder_read_win.h"

#include <shellapi.h>

#include "text/path_text.h"

static EntryDate LocalDateOf(const FILETIME& written) {
  FILETIME local;
  SYSTEMTIME t{};
  FileTimeToLocalFileTime(&written, &local);
  FileTimeToSystemTime(&local, &t);
  EntryDate date;
  date.year = t.wYear;
  date.month = t.wMonth;
  date.day = t.wDay;
  date.hour = t.wHour;
  date.minute = t.wMinute;
  return date;
}

bool ReadLocalFolder(const std::string& folder, std::vector<LocalFileFacts>& items, bool askShell) {
  const std::string prefix = JoinLocalPath(folder, "");  // a root already ends in its separator
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty drive root
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    LocalFileFacts facts;
    facts.attributes = found.dwFileAttributes;
    facts.sizeHigh = found.nFileSizeHigh;
    facts.sizeLow = found.nFileSizeLow;
    facts.lastWrite = LocalDateOf(found.ftLastWriteTime);
    facts.name = name;
    if (askShell) {
      SHFILEINFOA info{};
      if (SHGetFileInfoA((prefix + name).c_str(), 0, &info, sizeof info,
                         SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
        facts.shellTypeName = info.szTypeName;
        facts.systemIcon = info.iIcon;
      }
    }
    items.push_back(std::move(facts));
  } while (FindNextFileA(search, &found));
  const bool ended = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  return ended;
}

