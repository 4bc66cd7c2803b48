#include "app/work_folder_win.h"

#include <windows.h>
#include <shellapi.h>

#include "app/app_state_win.h"
#include "text/path_text.h"

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
