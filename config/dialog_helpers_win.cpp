#include "config/dialog_helpers_win.h"

#include <shlobj.h>

#include <climits>
#include <vector>

#include "app/app_state_win.h"
#include "app/window_placement.h"

HINSTANCE DialogResourceModule() { return InstanceHandle ? InstanceHandle : GetModuleHandleA(nullptr); }

void CenterOnMainWindow(HWND dialog) {
  RECT main, own;
  if (!MainWindow || !IsWindow(MainWindow) || !GetWindowRect(MainWindow, &main) || !GetWindowRect(dialog, &own))
    return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  Placement workArea{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
  if (GetMonitorInfoA(MonitorFromWindow(MainWindow, MONITOR_DEFAULTTONEAREST), &monitor))
    workArea = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
  const int width = own.right - own.left, height = own.bottom - own.top;
  const Placement placed =
      CenteredOnWindow({main.left, main.top, main.right, main.bottom}, width, height, workArea);
  MoveWindow(dialog, placed.left, placed.top, width, height, FALSE);
}

// Selects the starting folder once the browser is ready.
static int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start && *reinterpret_cast<const char*>(start))
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, start);
  return 0;
}

int BrowseForFolder(HWND owner, const char* title, std::string& path) {
  char displayName[MAX_PATH] = "";
  std::string start = path;
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;  // the desktop
  info.pszDisplayName = displayName;
  info.lpszTitle = title;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (!chosen) return 0;
  char full[MAX_PATH] = "";
  BOOL named = SHGetPathFromIDListA(chosen, full);
  CoTaskMemFree(chosen);
  if (!named || !full[0]) return 0;
  path = full;
  return 1;
}

std::string DialogItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return std::string();
  int length = GetWindowTextLengthA(item);
  std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
  return text.data();
}
