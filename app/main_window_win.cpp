#include "app/main_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/app_state_win.h"
#include "app/command_dispatch_win.h"
#include "app/pending_parts_win.h"
#include "app/string_table_win.h"
#include "app/work_folder_win.h"
#include "config/options.h"
#include "config/settings_file_win.h"
#include "resources/resource_ids.h"

HWND LocalLabel, RemoteLabel, LocalList, RemoteList, LocalTree, RemoteTree;
HWND StatusBar, ProgressBar, Toolbar;
int ToolbarHeight = 32;
int ActivePane = 0;
HMENU MainMenu;
std::string LocalStartFolder, RemoteStartFolder;

static HBRUSH ActiveBrush, InactiveBrush;
static HFONT LabelFont;
static HCURSOR SplitCursorV, SplitCursorH;

enum ChildId { kLocalLabelId = 5001, kRemoteLabelId = 5000, kStatusBarId = 2020, kProgressBarId = 5002 };

ATOM RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWindowProcedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM));
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
  wc.lpszClassName = VAKO_CLASS_NAME;
  return RegisterClassA(&wc);
}

HWND CreateMainWindow(HINSTANCE instance) {
  return CreateWindowExA(WS_EX_ACCEPTFILES, VAKO_CLASS_NAME, VAKO_CLASS_NAME, WS_OVERLAPPEDWINDOW, 0, 0, 512, 512,
                         nullptr, nullptr, instance, nullptr);
}

static void Place(HWND window, int left, int top, int width, int height) {
  if (window) MoveWindow(window, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height, TRUE);
}

void LayoutPanes(int W, int H) {
  const int T = ToolbarHeight;
  const int X = Options.WindowSplitPos;
  const int Y = Options.WindowSplitPos2;
  if (Options.WindowDiv == 0) {
    Place(LocalLabel, 0, T, X - 2, 16);
    Place(RemoteLabel, X, T, W - X, 16);
  } else {
    Place(LocalLabel, 0, T, W, 16);
    Place(RemoteLabel, 0, T + Y + 1, W, 16);
  }
  Place(StatusBar, 0, H - 16, W, 16);
  Place(ProgressBar, W - 160, 3, 144, 15);
  if (T == 32) Place(Toolbar, 0, 0, W, 32);
}

static void SetMenuChecksFromSettings() {
  int nkfUp = Options.NKFUp == 1 ? IDM_TO_EUC : Options.NKFUp == 2 ? IDM_TO_JIS : IDM_NO_CONVERT;
  CheckMenuRadioItem(MainMenu, IDM_TO_EUC, IDM_NO_CONVERT, nkfUp, MF_BYCOMMAND);
  CheckMenuItem(MainMenu, IDM_NKF_DOWN, MF_BYCOMMAND | (Options.NKFDown == 1 ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(MainMenu, IDM_AUTO_DETECT, MF_BYCOMMAND | (Options.Auto == 1 ? MF_CHECKED : MF_UNCHECKED));
}

static LRESULT OnCreate(HWND window) {
  MainWindow = window;
  ActiveBrush = CreateSolidBrush(GetSysColor(COLOR_ACTIVECAPTION));
  InactiveBrush = CreateSolidBrush(GetSysColor(COLOR_INACTIVECAPTION));
  SplitCursorV = LoadCursorA(InstanceHandle, MAKEINTRESOURCEA(IDC_SPLIT_V));
  SplitCursorH = LoadCursorA(InstanceHandle, MAKEINTRESOURCEA(IDC_SPLIT_H));
  LabelFont = CreateFontA(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN, "GOTHIC");
  DragAcceptFiles(window, TRUE);
  MainMenu = GetMenu(window);

  Placement placement;
  LoadSettings(placement);
  LocalStartFolder = Options.InitialLocalFolder;
  RemoteStartFolder = Options.InitialRemoteFolder;
  MoveWindow(window, placement.left, placement.top, placement.right - placement.left,
             placement.bottom - placement.top, TRUE);
  ScanFavorites(MainMenu);

  if (!LocalStartFolder.empty()) SetCurrentDirectoryA(LocalStartFolder.c_str());
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof folder, folder);
  LocalStartFolder = folder;
  CurrentLocalFolder = folder;

  RECT client;
  GetClientRect(window, &client);
  const int W = client.right, X = Options.WindowSplitPos, Y = Options.WindowSplitPos2;
  const bool sideBySide = Options.WindowDiv == 0;
  std::string unconnected = LoadResourceText(IDS_UNCONNECTED);
  RemoteLabel = CreateWindowExA(0, "STATIC", unconnected.c_str(), WS_CHILD | WS_VISIBLE, sideBySide ? X : 0,
                                sideBySide ? 0 : Y, sideBySide ? W - X - 1 : W, 16, window,
                                reinterpret_cast<HMENU>(kRemoteLabelId), InstanceHandle, nullptr);
  LocalLabel = CreateWindowExA(0, "STATIC", LocalStartFolder.c_str(), WS_CHILD | WS_VISIBLE, 0, 0,
                               sideBySide ? X - 1 : W, 16, window, reinterpret_cast<HMENU>(kLocalLabelId),
                               InstanceHandle, nullptr);
  StatusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                              reinterpret_cast<HMENU>(kStatusBarId), InstanceHandle, nullptr);
  ProgressBar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, W - 160, 3, 144, 15, StatusBar,
                                reinterpret_cast<HMENU>(kProgressBarId), InstanceHandle, nullptr);
  SetMenuChecksFromSettings();
  UpdateMenuState(1);
  return 0;
}

static void OnDestroy(HWND window) {
  DragAcceptFiles(window, FALSE);
  DeleteObject(ActiveBrush);
  DeleteObject(InactiveBrush);
  DeleteObject(LabelFont);
  RECT r;
  GetWindowRect(window, &r);
  Placement placement;
  placement.left = r.left;
  placement.top = r.top;
  placement.right = r.right;
  placement.bottom = r.bottom;
  SaveSettings(placement);
  // The system temp folder itself stands in when no vakotmpN was free: never delete that.
  if (WorkFolderIsOwn) DeleteWorkFolder(WorkFolder);
  PostQuitMessage(0);
}

static LRESULT CaptionColours(HDC dc, HWND strip) {
  bool active = strip == RemoteLabel ? ActivePane == 1 : ActivePane != 1;
  SetBkColor(dc, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
  SelectObject(dc, LabelFont);
  return reinterpret_cast<LRESULT>(active ? ActiveBrush : InactiveBrush);
}

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_SIZE:
      LayoutPanes(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_COMMAND:
      return DispatchCommand(window, message, wParam, lParam);
    case WM_NOTIFY:
      HandleNotify(window, wParam, lParam);
      return 0;
    case WM_INITMENU:
      UpdateMenuState(1);
      return 0;
    case WM_CTLCOLORSTATIC: {
      HWND strip = reinterpret_cast<HWND>(lParam);
      if (strip == LocalLabel || strip == RemoteLabel) return CaptionColours(reinterpret_cast<HDC>(wParam), strip);
      break;
    }
    case WM_DROPFILES:
      if (JobRunning) {
        DragFinish(reinterpret_cast<HDROP>(wParam));
      } else {
        DropUploadJob(reinterpret_cast<HDROP>(wParam));
        UpdateMenuState(1);
      }
      return 0;
    case MsgRefreshLocal:
      RefreshLocalList(LocalList);
      return 0;
    case MsgRefreshRemote:
      RefreshRemoteList(RemoteList, 0);
      return 0;
    case MsgUpdateMenus:
      UpdateMenuState(static_cast<int>(wParam));
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
