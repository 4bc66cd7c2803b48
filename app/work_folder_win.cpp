#include "app/work_folder_win.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "app/app_state_win.h"
#include "ftp/locked_scope_win.h"
#include "text/path_text.h"

namespace {

// The main window's thread and a job's both make and remove sub-folders.
SRWLOCK SubFoldersLock = SRWLOCK_INIT;
std::vector<std::string> MadeSubFolders;
LONG SubFolderNumber = 0;

// The system's own full path, without a trailing separator; "" when it has none.
std::string Resolved(const std::string& path) {
  char full[MAX_PATH * 2];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return "";
  std::string text(full, length);
  while (!text.empty() && EndsInSeparator(text) && text.size() > 3) text.pop_back();
  return text;
}

}  // namespace

std::string CreateWorkFolderIn(const std::string& base, bool& own) {
  for (int n = 0; n <= 999; ++n) {
    std::string name = "vakotmp" + std::to_string(n);
    if (CreateDirectoryA((base + name).c_str(), nullptr)) {
      own = true;
      return base + name + "\\";
    }
  }
  own = false;
  return base;
}

void DeleteWorkFolder(const std::string& path) {
  std::string folder = path;
  if (EndsInSeparator(folder)) folder.pop_back();
  folder.push_back('\0');  // the shell wants a list ended by an empty name
  SHFILEOPSTRUCTA operation{};
  operation.hwnd = MainWindow;
  operation.wFunc = FO_DELETE;
  operation.pFrom = folder.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationA(&operation);
}

bool PathLiesInside(const std::string& folder, const std::string& path) {
  const std::string outer = Resolved(folder), inner = Resolved(path);
  if (outer.empty() || inner.size() <= outer.size() + 1) return false;
  // Both come from the same folder text, so its bytes stand unchanged at the start.
  return inner.compare(0, outer.size(), outer) == 0 && inner[outer.size()] == '\\';
}

bool NamesEntryDirectlyIn(const std::string& folder, const std::string& name) {
  // ':' is never the second byte of a character: a stream or a drive in any reading.
  if (name.empty() || name.find(':') != std::string::npos) return false;
  const std::string outer = Resolved(folder);
  return !outer.empty() && Resolved(JoinLocalPath(folder, name)) == JoinLocalPath(outer, name);
}

std::string NewWorkSubFolder() {
  for (int tries = 0; tries < 1000; ++tries) {
    const std::string folder =
        WorkFolder + "vako" + std::to_string(InterlockedIncrement(&SubFolderNumber)) + ".tmp\\";
    if (CreateDirectoryA(folder.c_str(), nullptr)) {
      LockedScope locked(SubFoldersLock);
      MadeSubFolders.push_back(folder);
      return folder;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
  }
  return "";
}

void RemoveWorkSubFolder(const std::string& subFolder) {
  {
    LockedScope locked(SubFoldersLock);
    const auto made = std::find(MadeSubFolders.begin(), MadeSubFolders.end(), subFolder);
    if (made == MadeSubFolders.end()) return;
    MadeSubFolders.erase(made);
  }
  if (PathLiesInside(WorkFolder, subFolder)) DeleteWorkFolder(subFolder);
}

std::string WorkSubFolderOf(const std::string& path) {
  LockedScope locked(SubFoldersLock);
  for (const std::string& folder : MadeSubFolders)
    if (path.compare(0, folder.size(), folder) == 0) return folder;
  return "";
}

void RemoveAllWorkSubFolders() {
  std::vector<std::string> made;
  {
    LockedScope locked(SubFoldersLock);
    made = MadeSubFolders;
  }
  for (const std::string& folder : made) RemoveWorkSubFolder(folder);
}
