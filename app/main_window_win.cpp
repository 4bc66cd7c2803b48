#include "app/main_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/app_state_win.h"
#include "app/browse_commands_win.h"
#include "app/command_dispatch_win.h"
#include "app/folder_trees_win.h"
#include "app/image_lists_win.h"
#include "app/list_views_win.h"
#include "app/local_listing_win.h"
#include "app/menu_state_win.h"
#include "app/message_boxes_win.h"
#include "app/notify_win.h"
#include "jobs/drop_upload_win.h"
#include "jobs/job_support_win.h"
#include "app/split_bar_drag_win.h"
#include "app/string_table_win.h"
#include "app/toolbar_win.h"
#include "app/work_folder_win.h"
#include "config/favorites_win.h"
#include "config/options.h"
#include "config/settings_file_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/protocol_log_win.h"
#include "ftp/remote_view_fill_win.h"
#include "resources/resource_ids.h"
#include "shell/context_menus_win.h"

HWND LocalLabel, RemoteLabel, LocalList, RemoteList, LocalTree, RemoteTree;
HWND StatusBar, ProgressBar, Toolbar;
int ToolbarHeight = 32;
int ActivePane = 0;
HMENU MainMenu;
std::string LocalStartFolder, RemoteStartFolder;
HCURSOR SplitCursorVertical, SplitCursorHorizontal;

static HBRUSH ActiveBrush, InactiveBrush;
static HFONT LabelFont;

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

LayoutInput LayoutInputOf(int width, int height) {
  LayoutInput in;
  in.width = width;
  in.height = height;
  in.toolbarHeight = ToolbarHeight;
  in.windowDiv = Options.WindowDiv;
  in.splitPos = Options.WindowSplitPos;
  in.splitPos2 = Options.WindowSplitPos2;
  in.tl = Options.TL;
  in.tr = Options.TR;
  in.treeView = Options.TreeView;
  return in;
}

static void Place(HWND window, const PaneRect& r) {
  if (window) MoveWindow(window, r.left, r.top, r.width, r.height, TRUE);
}

void LayoutPanes(int width, int height) {
  const PaneLayout p = ComputeLayout(LayoutInputOf(width, height));
  Place(LocalLabel, p.localLabel);
  Place(LocalList, p.localList);
  Place(LocalTree, p.localTree);
  Place(RemoteLabel, p.remoteLabel);
  Place(RemoteList, p.remoteList);
  Place(RemoteTree, p.remoteTree);
  Place(StatusBar, p.statusBar);
  Place(ProgressBar, p.progressBar);
  if (p.toolbarShown) Place(Toolbar, p.toolbar);
}

void LayoutPanesNow() {
  RECT client;
  GetClientRect(MainWindow, &client);
  LayoutPanes(client.right, client.bottom);
}

static void SetMenuChecksFromSettings() {
  if (Options.NKFUp >= 0 && Options.NKFUp <= 2) {
    const int nkfUp = Options.NKFUp == 1 ? IDM_TO_EUC : Options.NKFUp == 2 ? IDM_TO_JIS : IDM_NO_CONVERT;
    CheckMenuRadioItem(MainMenu, IDM_TO_EUC, IDM_NO_CONVERT, nkfUp, MF_BYCOMMAND);
  } else {
    // A value the group has no item for shows the group as the menu resource has it: the
    // transfer-mode command sent while the settings were loading checked an item by the
    // default value.
    for (int id : {IDM_TO_EUC, IDM_TO_JIS, IDM_NO_CONVERT}) CheckMenuItem(MainMenu, id, MF_BYCOMMAND | MF_UNCHECKED);
  }
  CheckMenuItem(MainMenu, IDM_NKF_DOWN, MF_BYCOMMAND | (Options.NKFDown == 1 ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(MainMenu, IDM_AUTO_DETECT, MF_BYCOMMAND | (Options.Auto == 1 ? MF_CHECKED : MF_UNCHECKED));
}

// The four views; false when one of them cannot be made.
static bool CreateViews(HWND window, int W, int H) {
  const bool sideBySide = Options.WindowDiv == 0;
  const int X = Options.WindowSplitPos;
  LocalList = sideBySide ? CreateLocalList(window, 0, 16, X - 1, H - 33) : CreateLocalList(window, 0, 16, W, H / 2 - 32);
  RemoteList = sideBySide ? CreateRemoteList(window, X, 0, W - X - 1, H - 33)
                          : CreateRemoteList(window, 0, H / 2, W, H / 2 - 16);
  RemoteTree = CreateRemoteTree(window);
  LocalTree = CreateLocalTree(window);
  return LocalList && RemoteList && RemoteTree && LocalTree;
}

static HWND CreateCaptionStrip(HWND window, const std::string& text, int id, int x, int y, int width) {
  return CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, x, y, width < 0 ? 0 : width, 16, window,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), InstanceHandle, nullptr);
}

static LRESULT OnCreate(HWND window) {
  MainWindow = window;
  ActiveBrush = CreateSolidBrush(GetSysColor(COLOR_ACTIVECAPTION));
  InactiveBrush = CreateSolidBrush(GetSysColor(COLOR_INACTIVECAPTION));
  SplitCursorVertical = LoadCursorA(InstanceHandle, MAKEINTRESOURCEA(IDC_SPLIT_V));
  SplitCursorHorizontal = LoadCursorA(InstanceHandle, MAKEINTRESOURCEA(IDC_SPLIT_H));
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
  ScanFavorites();

  if (!LocalStartFolder.empty()) EnterLocalFolder(LocalStartFolder);
  LocalStartFolder = ProcessCurrentFolder();
  CurrentLocalFolder = LocalStartFolder;

  RECT client;
  GetClientRect(window, &client);
  const int W = client.right, H = client.bottom, X = Options.WindowSplitPos, Y = Options.WindowSplitPos2;
  CreateImageLists();
  if (!CreateViews(window, W, H)) {
    ShowMessage(IDS_UNKNOWN_ERROR);
    SendMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  ActivePane = 1;
  SendMessageA(window, WM_COMMAND, Options.RemoteListType, 0);
  ActivePane = 0;

  const bool sideBySide = Options.WindowDiv == 0;
  RemoteLabel = CreateCaptionStrip(window, LoadResourceText(IDS_UNCONNECTED), kRemoteLabelId, sideBySide ? X : 0,
                                   sideBySide ? 0 : Y, sideBySide ? W - X - 1 : W);
  LocalLabel = CreateCaptionStrip(window, LocalStartFolder, kLocalLabelId, 0, 0, sideBySide ? X - 1 : W);
  StatusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                              reinterpret_cast<HMENU>(kStatusBarId), InstanceHandle, nullptr);
  ProgressBar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, W - 160, 3, 144, 15, StatusBar,
                                reinterpret_cast<HMENU>(kProgressBarId), InstanceHandle, nullptr);
  SetEngineDisplay(StatusBar, ProgressBar);
  if (ToolbarHeight == 32) CreateToolbar();
  SetMenuChecksFromSettings();
  UpdateMenuState(1);
  return 0;
}

static void OnDestroy(HWND window) {
  DragAcceptFiles(window, FALSE);
  DeleteObject(ActiveBrush);
  DeleteObject(InactiveBrush);
  DeleteObject(LabelFont);
  // A list in details view keeps its column widths; one in another view leaves the
  // stored widths alone.
  SaveLocalColumns = LocalList && IsDetailsView(LocalList);
  SaveRemoteColumns = RemoteList && IsDetailsView(RemoteList);
  for (int i = 0; i < 5; ++i) {
    if (SaveLocalColumns) Options.LocalColumn[i] = ColumnWidth(LocalList, i);
    if (SaveRemoteColumns) Options.RemColumn[i] = ColumnWidth(RemoteList, i);
  }
  RECT r;
  GetWindowRect(window, &r);
  Placement placement;
  placement.left = r.left;
  placement.top = r.top;
  placement.right = r.right;
  placement.bottom = r.bottom;
  SaveSettings(placement);
  SetEngineDisplay(nullptr, nullptr);
  DestroyImageLists();
  CloseProtocolLog();  // an open file would keep its folder
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

static LRESULT HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_LBUTTONDOWN:
      SplitBarButtonDown(window, lParam);
      return 0;
    case WM_MOUSEMOVE:
      SplitBarMouseMove(window, lParam);
      return 0;
    case WM_LBUTTONUP:
      SplitBarButtonUp(window, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      // Outside the lists and trees (a split bar, a gap): the pane menu at the click.
      if (!SplitBarDragging()) {
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ShowContextMenu(window, at, IDR_PANE_MENU);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) SplitBarCancel(window);
      return 0;
    case WM_CANCELMODE:
      SplitBarCancel(window);
      break;  // the default handling ends menus and releases the capture
    case WM_DROPFILES:
      if (JobRunning) {
        DragFinish(reinterpret_cast<HDROP>(wParam));
      } else {
        StartDropUpload(reinterpret_cast<HDROP>(wParam));
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
    case MsgReadJobRows:
      ServeJobRowRead();
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A connection found lost deep inside an operation is ended once that operation is over:
// when the outermost message of the window has been handled, nested message boxes and
// all.
LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static int depth = 0;
  ++depth;
  LRESULT result = HandleMainWindowMessage(window, message, wParam, lParam);
  --depth;
  // A window on its way out runs no Disconnect, lost connection or not.
  if (depth == 0 && ConnectionWasLost() && message != WM_DESTROY && message != WM_NCDESTROY && IsWindow(window))
    EndLostConnection();
  return result;
}
