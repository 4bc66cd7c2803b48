#include "app/shell_open_win.h"

#include <windows.h>
#include <shellapi.h>

#include "app/app_state_win.h"

int ShellOpen(const std::string& file, const std::string& folder) {
  HINSTANCE result = ShellExecuteA(MainWindow, "open", file.c_str(), nullptr,
                                   folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32 ? 1 : 0;
}
