// The program's entry: start-up in its fixed order, the message loop, and the end.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <vector>

#include "app/app_state_win.h"
#include "app/command_line.h"
#include "app/connect_attempt_win.h"
#include "app/folder_trees_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
#include "app/string_table_win.h"
#include "app/toolbar_win.h"
#include "app/work_folder_win.h"
#include "config/favorites_win.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

static void FindProgramFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  char drive[_MAX_DRIVE], folder[_MAX_DIR], name[_MAX_FNAME], extension[_MAX_EXT];
  _splitpath(path, drive, folder, name, extension);
  ProgramFolder = std::string(drive) + folder;
}

static void PrepareWorkFolder() {
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  std::string base = temp;
  if (!EndsInSeparator(base)) base += '\\';
  SetCurrentDirectoryA(base.c_str());
  WorkFolder = CreateWorkFolderIn(base, WorkFolderIsOwn);
  LogPath = WorkFolder + "ftplog.txt";
}

// The favorite files named on the command line. A relative path is taken from the folder the
// program was started in, before start-up moves the current folder elsewhere.
static std::vector<std::string> FavoriteArguments(const char* text) {
  std::vector<std::string> paths = SplitCommandLine(text);
  for (std::string& path : paths) {
    if (path.empty()) continue;
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (length > 0 && length < sizeof full) path = full;
  }
  return paths;
}

// Takes and handles one message of the thread; false once the loop is to end (WM_QUIT, whose
// exit code is left in message).
static bool HandleNextMessage(HACCEL accelerators, MSG& message) {
  if (GetMessageA(&message, nullptr, 0, 0) <= 0) return false;
  // Esc gives up a connection still being made, whichever window has the keys.
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && ConnectAttemptRunning()) {
    CancelConnectAttempt();
    return true;
  }
  // While a name is edited in place, keys such as Delete and F2 belong to the edit field. A
  // key that became a command is done with: dispatched as well, Alt+F4 would also reach
  // the default handling and close the window, job or no job.
  if (!LabelEditing && TranslateAcceleratorA(MainWindow, accelerators, &message)) return true;
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return true;
}

// Connects from each favorite in turn, the next once the last attempt has ended; the window
// is served meanwhile. False when the window was closed on the way.
static bool ParseCommandLine(const std::vector<std::string>& paths, HACCEL accelerators, MSG& message) {
  for (const std::string& path : paths) {
    ConnectFromFavorite(path.c_str());
    while (ConnectAttemptRunning()) {
      if (!HandleNextMessage(accelerators, message)) return false;
    }
  }
  return true;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  InstanceHandle = instance;
  // The current folder follows the local pane: no DLL is ever looked for there.
  SetDllDirectoryA("");
  StartedInFolder = ProcessCurrentFolder();  // before start-up moves to the temp folder
  const std::vector<std::string> favoriteArguments = FavoriteArguments(commandLine ? commandLine : "");
  FindProgramFolder();
  PrepareWorkFolder();

  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  if (!RegisterMainWindowClass(instance)) return 0;
  HWND window = CreateMainWindow(instance);
  if (!window) return 0;
  ShowWindow(window, StartMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  UpdateWindow(window);

  SendMessageA(window, WM_COMMAND, TransferMode == 1 ? IDM_ASCII : IDM_BINARY, 0);
  if (ToolbarHeight != 0) PressToggleButtons();
  UpdateMenuState(1);
  RefreshLocalList(LocalList);
  ShowLocalTreeOfDrives();
  if (!StartSockets()) {
    std::string text = LoadResourceText(IDS_WINSOCK_ERROR);
    MessageBoxA(window, text.c_str(), "", MB_OK);
  }
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  MSG message{};
  if (ParseCommandLine(favoriteArguments, accelerators, message)) {
    while (HandleNextMessage(accelerators, message)) {
    }
  }
  OleUninitialize();
  return static_cast<int>(message.wParam);
}
