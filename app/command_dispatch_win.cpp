#include "app/command_dispatch_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "app/pending_parts_win.h"
#include "resources/resource_ids.h"

static void SetToolbarButtonState(int command, int state) {
  if (Toolbar) SendMessageA(Toolbar, TB_SETSTATE, command, MAKELONG(state, 0));
}

static void SelectTransferMode(int mode) {
  TransferMode = mode;
  int chosen = mode == 1 ? IDM_ASCII : IDM_BINARY;
  CheckMenuRadioItem(MainMenu, IDM_ASCII, IDM_BINARY, chosen, MF_BYCOMMAND);
  SetToolbarButtonState(IDM_ASCII, mode == 1 ? 6 : 4);
  SetToolbarButtonState(IDM_BINARY, mode == 2 ? 6 : 4);
}

static void ShellOpen(const char* file, const char* folder) {
  ShellExecuteA(MainWindow, "open", file, nullptr, folder, SW_SHOWNORMAL);
}

LRESULT DispatchCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const bool idle = JobRunning == 0;
  switch (id) {
    case IDM_EXIT:
      if (idle) PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    case IDM_ASCII:
      if (idle) SelectTransferMode(1);
      break;
    case IDM_BINARY:
      if (idle) SelectTransferMode(2);
      break;
    case IDM_STOP:
      StopRequested = 1;
      break;
    case IDM_SHOW_LOG:
      ShellOpen(LogPath.c_str(), ProgramFolder.c_str());
      break;
    case IDM_CONTENTS:
      ShellOpen("vako.hlp", ProgramFolder.c_str());
      break;
    case IDM_NEW_WINDOW:
      ShellOpen("vako.exe", ProgramFolder.c_str());
      break;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
  UpdateMenuState(1);
  return 0;
}
