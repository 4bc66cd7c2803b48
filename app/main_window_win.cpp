#include "app/main_window_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/active_pane_win.h"
#include "app/app_state_win.h"
#include "app/browse_commands_win.h"
#include "app/caption_ink.h"
#include "app/command_dispatch_win.h"
#include "app/connect_attempt_win.h"
#include "app/folder_trees_win.h"
#include "app/image_lists_win.h"
#include "app/job_start_win.h"
#include "app/list_views_win.h"
#include "app/local_listing_win.h"
#include "app/menu_state_win.h"
#include "app/message_boxes_win.h"
#include "app/notify_win.h"
#include "jobs/drop_upload_win.h"
#include "jobs/job_support_win.h"
#include "app/session_lock_win.h"
#include "app/split_bar_drag_win.h"
#include "app/string_table_win.h"
#include "app/toolbar_win.h"
#include "app/tree_cache.h"
#include "app/window_placement.h"
#include "app/work_folder_win.h"
#include "config/certificate_question_win.h"
#include "config/favorites_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "config/settings_file_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/protocol_log_win.h"
#include "app/remote_view_fill_win.h"
#include "ftp/transfer_progress.h"
#include "resources/resource_ids.h"
#include "shell/context_menus_win.h"

HWND LocalLabel, RemoteLabel, LocalList, RemoteList, LocalTree, RemoteTree;
HWND StatusBar, ProgressBar, Toolbar;
int ToolbarHeight = 32;
int ActivePane = 0;
HMENU MainMenu;
std::string LocalStartFolder, RemoteStartFolder;
int StartMaximized = 0;
HCURSOR SplitCursorVertical, SplitCursorHorizontal;

static HBRUSH ActiveBrush, InactiveBrush;
static bool SessionKept = false;  // the settings are written and the work folder is gone
static HFONT LabelFont;
static int LabelHeight = 16;  // the caption strips', from their font

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

static int StatusBarHeight() {
  RECT r;
  return StatusBar && GetWindowRect(StatusBar, &r) && r.bottom > r.top ? r.bottom - r.top : 16;
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
  in.labelHeight = LabelHeight;
  in.statusHeight = StatusBarHeight();
  return KeptWithinClient(in);
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
  UpdateSessionLock();  // its parts follow the status bar's width
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
  return CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, x, y, width < 0 ? 0 : width,
                         LabelHeight, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), InstanceHandle,
                         nullptr);
}

static int TextHeightOf(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics{};
  const int height = GetTextMetricsA(dc, &metrics) ? metrics.tmHeight : 12;
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return height < 12 ? 12 : height;
}

static LRESULT OnCreate(HWND window) {
  MainWindow = window;
  SessionKept = false;
  ActiveBrush = CreateSolidBrush(GetSysColor(COLOR_ACTIVECAPTION));
  InactiveBrush = CreateSolidBrush(GetSysColor(COLOR_INACTIVECAPTION));
  SplitCursorVertical = LoadCursorA(InstanceHandle, MAKEINTRESOURCEA(IDC_SPLIT_V));
  SplitCursorHorizontal = LoadCursorA(InstanceHandle, MAKEINTRESOURCEA(IDC_SPLIT_H));
  // The captions are paths the user reads: the system's message font, not a small fixed one.
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  LabelFont = SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
                  ? CreateFontIndirectA(&metrics.lfMessageFont)
                  : nullptr;
  if (!LabelFont) LabelFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LabelHeight = TextHeightOf(window, LabelFont) + 4;
  DragAcceptFiles(window, TRUE);
  MainMenu = GetMenu(window);

  Placement placement;
  LoadSettings(placement);
  LocalStartFolder = Options.InitialLocalFolder;
  RemoteStartFolder = Options.InitialRemoteFolder;
  RECT saved{placement.left, placement.top, placement.right, placement.bottom};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromRect(&saved, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& w = monitor.rcWork;
    Placement work;
    work.left = w.left, work.top = w.top, work.right = w.right, work.bottom = w.bottom;
    placement = FitPlacement(placement, work);
  }
  StartMaximized = placement.maximized;
  MoveWindow(window, placement.left, placement.top, placement.right - placement.left,
             placement.bottom - placement.top, TRUE);
  ScanFavorites();

  if (!LocalStartFolder.empty()) {
    EnterLocalFolder(LocalStartFolder);
  } else if (StartedInFolder.empty() || !EnterLocalFolder(StartedInFolder)) {
    // Never the temp folder that start-up made current: a download would land there.
    char documents[MAX_PATH] = "";
    if (SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE)) EnterLocalFolder(documents);
  }
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
  LayoutPanesNow();  // with the status bar's own height, now that it exists
  return 0;
}

// What the end of the program keeps and removes, once: the settings with the window's
// placement, and the work folder with the log. At the end of a Windows session (logoff,
// shutdown, an update's restart) this happens at WM_ENDSESSION, after which the process ends
// without a WM_DESTROY; a favorite's tree cache is kept then too, as Disconnect would.
static void KeepSessionAndCleanUp(HWND window, bool endOfSession) {
  if (SessionKept) return;
  SessionKept = true;
  // A list in details view keeps its column widths; one in another view leaves the
  // stored widths alone.
  SaveLocalColumns = LocalList && IsDetailsView(LocalList);
  SaveRemoteColumns = RemoteList && IsDetailsView(RemoteList);
  for (int i = 0; i < 5; ++i) {
    if (SaveLocalColumns) Options.LocalColumn[i] = ColumnWidth(LocalList, i);
    if (SaveRemoteColumns) Options.RemColumn[i] = ColumnWidth(RemoteList, i);
  }
  // The restored rectangle, also of a window closed minimized or maximized.
  WINDOWPLACEMENT shown{};
  shown.length = sizeof shown;
  GetWindowPlacement(window, &shown);
  Placement placement;
  placement.left = shown.rcNormalPosition.left;
  placement.top = shown.rcNormalPosition.top;
  placement.right = shown.rcNormalPosition.right;
  placement.bottom = shown.rcNormalPosition.bottom;
  placement.maximized = shown.showCmd == SW_SHOWMAXIMIZED ||
                        (shown.showCmd == SW_SHOWMINIMIZED && (shown.flags & WPF_RESTORETOMAXIMIZED));
  if (!SaveSettings(placement) && !endOfSession) {
    // Said once, here: a read-only program folder would otherwise lose every change unseen.
    ShowProgramMessageBox(FormatWithName(LoadResourceText(IDS_SETTINGS_NOT_SAVED), SettingsPath()), VAKO_CAPTION,
                          MB_OK | MB_ICONWARNING);
  }
  if (endOfSession && ConnectedFromFavorite && !TreeTempPath.empty())
    CopyTreeCacheFile(TreeTempPath, KeptTreeCachePath(ProgramFolder, CurrentHost.HostName, ConnectedFavoritePath));
  CloseProtocolLog();  // an open file would keep its folder
  // The system temp folder itself stands in when no vakotmpN was free: never delete that,
  // only the sub-folders made in it.
  if (WorkFolderIsOwn)
    DeleteWorkFolder(WorkFolder);
  else
    RemoveAllWorkSubFolders();
}

static void OnDestroy(HWND window) {
  DragAcceptFiles(window, FALSE);
  DeleteObject(ActiveBrush);
  DeleteObject(InactiveBrush);
  DeleteObject(LabelFont);
  KeepSessionAndCleanUp(window, false);
  SetEngineDisplay(nullptr, nullptr);
  DestroyImageLists();
  PostQuitMessage(0);
}

// A caption strip: the pane's colour, ink that reads on it, and the whole path from a small
// margin (text drawn from the very edge loses its first character's left side).
static void DrawCaptionStrip(const DRAWITEMSTRUCT& item) {
  const bool active = item.hwndItem == RemoteLabel ? ActivePane == 1 : ActivePane != 1;
  const COLORREF back = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  FillRect(item.hDC, &item.rcItem, active ? ActiveBrush : InactiveBrush);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, ReadableInkOn(back));
  HGDIOBJ old = SelectObject(item.hDC, LabelFont);
  char text[300] = "";
  GetWindowTextA(item.hwndItem, text, sizeof text);
  RECT r = item.rcItem;
  r.left += 4;
  DrawTextA(item.hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  SelectObject(item.hDC, old);
}

// Closing during a job would cut the file in progress: the user is asked first. On yes the
// job is stopped as Stop does (and kept stopping, level after level), and the window closes
// once it has ended; on no the job goes on.
constexpr UINT_PTR kCloseAfterJobTimer = 7;

static bool CloseAsked(HWND window) {
  // A connection still being made is no work to lose: it is cancelled, and the window closes
  // once its thread has ended (the thread still uses the program's state).
  if (ConnectAttemptRunning()) {
    CancelConnectAttempt();
    ClosingAfterJob = 1;
    SetTimer(window, kCloseAfterJobTimer, 100, nullptr);
    return false;
  }
  if (!JobRunning) return true;
  if (!ClosingAfterJob &&
      ShowProgramMessageBox(LoadResourceText(IDS_ASK_STOP_AND_CLOSE), VAKO_CAPTION, MB_YESNO | MB_ICONQUESTION) == IDYES) {
    ClosingAfterJob = 1;
    JobStopped = 1;
    StopRequested = 1;
    SetTimer(window, kCloseAfterJobTimer, 100, nullptr);
  }
  return false;
}

static void CloseWhenJobHasEnded(HWND window) {
  if (JobRunning) {
    StopRequested = 1;
    return;
  }
  KillTimer(window, kCloseAfterJobTimer);
  DestroyWindow(window);
}

static LRESULT HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (CloseAsked(window)) DestroyWindow(window);
      return 0;
    case WM_ACTIVATE:
      // Back from a dialog, a message box or another program, and at start-up, the keys go to
      // the active pane's list, not to the frame, which has no use for them.
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && ActiveList()) {
        SetFocus(ActiveList());
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (ActiveList()) SetFocus(ActiveList());
      return 0;
    case WM_TIMER:
      if (wParam == kCloseAfterJobTimer) CloseWhenJobHasEnded(window);
      if (wParam == kConnectCancelTimer) KeepCancellingConnectAttempt();
      OnJobPanesTimer(window, wParam);
      return 0;
    case WM_SETCURSOR:
      // The window answers while connecting, and the cursor says it is still at work.
      if (ConnectAttemptRunning() && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursor(nullptr, IDC_APPSTARTING));
        return TRUE;
      }
      break;
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
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->hwndItem == LocalLabel || item->hwndItem == RemoteLabel) {
        DrawCaptionStrip(*item);
        return TRUE;
      }
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
        StartDropUpload(reinterpret_cast<HDROP>(wParam), ToolbarHeight);
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
    case MsgConnectDone:
      EndConnectAttempt();
      return 0;
    case MsgJobPanes:
      OnJobPanesWaiting(window);
      return 0;
    case MsgAskCertificate:
      return AnswerCertificateQuestionMessage(lParam);
    case WM_ENDSESSION:
      if (wParam) KeepSessionAndCleanUp(window, true);
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
