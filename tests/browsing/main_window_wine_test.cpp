// The main window made in this process (the same code and resources as vako.exe), where
// its menu can be read: menu grays and checks, toolbar states and captions as the
// connection, the active pane and a running job change; commands refused during a job;
// the children's places; the column widths kept at exit; a missing tree cache file; view
// styles and conversion settings from vako.ini; split-bar drags that lose the mouse; long
// folder names in the remote tree; tree cache rewrites that cannot take place.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/app_state_win.h"
#include "app/folder_trees_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
#include "app/split_bar_drag_win.h"
#include "app/tree_cache.h"
#include "app/tree_cache_rename.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/login_win.h"
#include "ftp/remote_view_fill_win.h"
#include "resources/resource_ids.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InstanceHandle = GetModuleHandleA(nullptr);
    ASSERT_EQ(StartSockets(), 1);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    RegisterMainWindowClass(InstanceHandle);
    // What the server lists: a folder and two files of different sizes.
    const std::string root = testenv::WinePath(testenv::Get("VAKO_PYFTPD_ROOT")) + "\\";
    CreateDirectoryA((root + "pub").c_str(), nullptr);
    WriteWholeFile(root + "a.txt", "hello");
    WriteWholeFile(root + "data.bin", std::string(3000, 'x'));
  }

  void SetUp() override {
    ProgramFolder = program.path();
    WorkFolder = work.path();
    LogPath = WorkFolder + "ftplog.txt";
    Connected = 0;
    JobRunning = 0;
    ToolbarHeight = 32;
    TransferMode = 2;
  }

  void Open(const std::string& settings = "") {
    WriteWholeFile(program.path() + "vako.ini", "[Vako]\r\nInitialLocalFolder=" + local.path() + "\r\n" + settings);
    window = CreateMainWindow(InstanceHandle);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
  }

  void TearDown() override {
    if (window) DestroyWindow(window);
    if (Connected) CloseControlConnection();
    Connected = 0;
    JobRunning = 0;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  void Connect() {
    CurrentHost = HostProfile();
    CurrentHost.HostAddr = "127.0.0.1";
    CurrentHost.Port = testenv::Port("VAKO_PYFTPD_PORT");
    CurrentHost.UserID = testenv::Get("VAKO_FTP_USER");
    CurrentHost.UserPass = testenv::Get("VAKO_FTP_PASS");
    ASSERT_EQ(ConnectAndLogin("/", ""), 1);
    ASSERT_EQ(RefreshRemoteList(RemoteList, 0), RemoteList);
    UpdateMenuState(1);
  }

  LRESULT Command(int id) { return SendMessageA(window, WM_COMMAND, id, 0); }
  static bool Grayed(int id) { return (GetMenuState(MainMenu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
  static bool Checked(int id) { return (GetMenuState(MainMenu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
  static int Button(int id) { return static_cast<int>(SendMessageA(Toolbar, TB_GETSTATE, id, 0)); }
  static std::string Text(HWND w) {
    char text[300] = "";
    GetWindowTextA(w, text, sizeof text);
    return text;
  }
  static RECT Place(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static std::vector<std::string> Names(HWND list) {
    std::vector<std::string> names;
    for (int row = 0; row < ListRowCount(list); ++row) names.push_back(ListRowText(list, row, 0));
    return names;
  }

  TempFolder program, work, local;
  MessageBoxRecorder boxes;
  HWND window = nullptr;
};

void ExpectRect(HWND child, int left, int top, int width, int height) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

TEST_F(MainWindowTest, MenusToolbarAndCaptionsFollowConnectionPaneAndJob) {
  Open();
  UpdateMenuState(1);
  // Not connected, local pane, no job.
  EXPECT_FALSE(Grayed(IDM_CONNECT));
  for (int id : {IDM_DISCONNECT, IDM_UPLOAD, IDM_DOWNLOAD, IDM_MIRROR_UPLOAD, IDM_ADD_FAVORITE, IDM_STOP})
    EXPECT_TRUE(Grayed(id)) << id;
  EXPECT_EQ(Button(IDM_CONNECT), 4);
  for (int id : {IDM_UPLOAD, IDM_DOWNLOAD, IDM_DISCONNECT}) EXPECT_EQ(Button(id), 16) << id;
  EXPECT_EQ(Text(RemoteLabel), "[UNCONNECTED]");
  EXPECT_EQ(Text(LocalLabel), local.path().substr(0, local.path().size() - 1));
  EXPECT_TRUE(Checked(IDM_DETAILS));
  EXPECT_TRUE(Checked(IDM_SORT_TYPE));
  EXPECT_TRUE(Checked(IDM_ASCENDING));
  EXPECT_TRUE(Checked(IDM_TOOLBAR));
  EXPECT_TRUE(Checked(IDM_TREE_VIEW));
  EXPECT_TRUE(Checked(IDM_BINARY));
  EXPECT_EQ(Button(IDM_BINARY), 6);
  // The remote pane without a connection: its folder commands are grayed.
  EXPECT_EQ(Command(IDM_SWITCH_PANE), 0);
  EXPECT_EQ(ActivePane, 1);
  for (int id : {IDM_OPEN, IDM_GOTO_FOLDER, IDM_NEW_FOLDER, IDM_DELETE, IDM_RENAME}) EXPECT_TRUE(Grayed(id)) << id;
  EXPECT_FALSE(Grayed(IDM_REFRESH));

  // Connected, remote pane, no job.
  Connect();
  EXPECT_EQ(Text(RemoteLabel), "/");
  EXPECT_FALSE(Grayed(IDM_DOWNLOAD));
  EXPECT_TRUE(Grayed(IDM_UPLOAD));
  EXPECT_FALSE(Grayed(IDM_MIRROR_UPLOAD));
  EXPECT_FALSE(Grayed(IDM_DISCONNECT));
  EXPECT_TRUE(Grayed(IDM_CONNECT));
  EXPECT_EQ(Button(IDM_DOWNLOAD), 4);
  EXPECT_EQ(Button(IDM_UPLOAD), 16);

  // Descending by size on the remote pane: only its own direction flag changes.
  const int localDirection = Options.SortSub;
  Command(IDM_SORT_SIZE);
  Command(IDM_DESCENDING);
  EXPECT_EQ(Options.SortSubRemote, 1);
  EXPECT_EQ(Options.SortSub, localDirection);
  EXPECT_TRUE(Checked(IDM_DESCENDING));
  EXPECT_TRUE(Checked(IDM_SORT_SIZE));
  std::vector<std::string> bySize = Names(RemoteList);
  ASSERT_GE(bySize.size(), 2u);
  EXPECT_EQ(bySize.front(), "data.bin");  // the largest file first
  EXPECT_EQ(bySize.back(), "..");

  // A job runs: the connection's commands are grayed and refused.
  JobRunning = 1;
  UpdateMenuState(1);
  EXPECT_FALSE(Grayed(IDM_STOP));
  for (int id : {IDM_EXIT, IDM_REFRESH, IDM_OPTIONS, IDM_ASCII, IDM_BINARY}) EXPECT_TRUE(Grayed(id)) << id;
  EXPECT_FALSE(Grayed(IDM_DISCONNECT));
  EXPECT_EQ(Button(IDM_DISCONNECT), 16);
  EXPECT_EQ(Button(IDM_DOWNLOAD), 4);
  EXPECT_EQ(Button(IDM_BINARY), 18);
  EXPECT_EQ(Button(IDM_ASCII), 16);
  WriteWholeFile(testenv::WinePath(testenv::Get("VAKO_PYFTPD_ROOT") + "/during-job.txt"), "j");
  EXPECT_EQ(Command(IDM_REFRESH), 0);
  EXPECT_EQ(Command(IDM_DISCONNECT), 0);
  EXPECT_EQ(Command(IDM_ASCII), 0);
  EXPECT_EQ(TransferMode, 2);
  EXPECT_EQ(Connected, 1);
  for (const std::string& name : Names(RemoteList)) EXPECT_NE(name, "during-job.txt");
  // Stop and Auto Detect work during a job.
  Command(IDM_STOP);
  EXPECT_EQ(StopRequested, 1);
  StopRequested = 0;
  const int autoDetect = Options.Auto;
  Command(IDM_AUTO_DETECT);
  EXPECT_NE(Options.Auto, autoDetect);

  JobRunning = 0;
  Command(IDM_REFRESH);
  bool listed = false;
  for (const std::string& name : Names(RemoteList)) listed = listed || name == "during-job.txt";
  EXPECT_TRUE(listed);
  DeleteFileA(testenv::WinePath(testenv::Get("VAKO_PYFTPD_ROOT") + "/during-job.txt").c_str());

  Command(IDM_DISCONNECT);
  EXPECT_EQ(Connected, 0);
  EXPECT_EQ(Text(RemoteLabel), "[UNCONNECTED]");
  EXPECT_EQ(ListRowCount(RemoteList), 0);
  EXPECT_TRUE(boxes.boxes().empty());
}

// Resizes the window so that its client area is width x height.
void SetClientSize(HWND window, int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_ACCEPTFILES);
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOMOVE);
  RECT client;
  GetClientRect(window, &client);
  ASSERT_EQ(client.right, width);
  ASSERT_EQ(client.bottom, height);
}

TEST_F(MainWindowTest, ChildrenTakeTheirPlaces) {
  Open("WindowDiv=0\r\nWindowSplitPos=300\r\n");
  SetClientSize(window, 800, 600);
  ExpectRect(LocalList, 180, 48, 118, 535);
  ExpectRect(RemoteList, 480, 48, 320, 535);
  ExpectRect(RemoteLabel, 300, 32, 500, 16);
  ExpectRect(LocalLabel, 0, 32, 298, 16);
  ExpectRect(LocalTree, 0, 48, 179, 535);
  ExpectRect(RemoteTree, 300, 48, 179, 535);
  RECT progress;
  GetWindowRect(ProgressBar, &progress);
  MapWindowPoints(nullptr, StatusBar, reinterpret_cast<POINT*>(&progress), 2);
  EXPECT_EQ(progress.left, 640);
  EXPECT_EQ(progress.top, 3);

  Options.WindowDiv = 1;
  Options.WindowSplitPos2 = 128;
  Options.TreeView = 0;
  Command(IDM_TOOLBAR);  // hides it: T = 0
  SetClientSize(window, 640, 480);
  EXPECT_EQ(GetDlgItem(window, kToolbarId), nullptr);
  ExpectRect(LocalList, 0, 16, 640, 111);
  ExpectRect(RemoteLabel, 0, 129, 640, 16);
  ExpectRect(RemoteList, 0, 146, 640, 317);
}

TEST_F(MainWindowTest, ColumnWidthsAreKeptOnlyForDetailsView) {
  Open("LocalListType=40003\r\nLocalColumn1=111\r\nRemColumn1=160\r\n");
  SendMessageA(LocalList, LVM_SETCOLUMNWIDTH, 0, 222);
  SendMessageA(RemoteList, LVM_SETCOLUMNWIDTH, 0, 233);
  DestroyWindow(window);
  window = nullptr;
  std::string ini = ReadWholeFile(program.path() + "vako.ini");
  EXPECT_NE(ini.find("LocalColumn1=111\r\n"), std::string::npos);  // a list view, not details
  EXPECT_NE(ini.find("RemColumn1=233\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, UnreadableTreeCacheFileStopsTheListing) {
  Open();
  Connect();
  ASSERT_GT(ListRowCount(RemoteList), 1);
  ASSERT_TRUE(DeleteFileA(TreeTempPath.c_str()));
  EXPECT_EQ(RefreshRemoteList(RemoteList, 0), nullptr);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "Could not read tree cache file");
  EXPECT_EQ(boxes.boxes()[0].caption, "VakoFTP");
  EXPECT_EQ(ListRowCount(RemoteList), 0);
  // Without its file the tree keeps only its root.
  EXPECT_EQ(RebuildRemoteTree(RemoteTree), 0);
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[1].text, "Could not read Tree information file");
  EXPECT_EQ(boxes.boxes()[1].caption, "VakoFTP");
  HTREEITEM root = TreeView_GetRoot(RemoteTree);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(TreeView_GetChild(RemoteTree, root), nullptr);
  EXPECT_EQ(TreeView_GetNextSibling(RemoteTree, root), nullptr);
}

}  // namespace

namespace {

TEST_F(MainWindowTest, TooltipsCaptionColoursAndRefills) {
  Open();
  // The toolbar asks for its tooltips by command; the answer names the string.
  NMTTDISPINFOA info{};
  info.hdr.hwndFrom = Toolbar;
  info.hdr.idFrom = IDM_CONNECT;
  info.hdr.code = TTN_GETDISPINFOA;
  SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.hinst, InstanceHandle);
  EXPECT_EQ(info.lpszText, MAKEINTRESOURCEA(IDS_TIP_CONNECT));
  NMTTDISPINFOA none{};
  none.hdr.idFrom = IDM_REFRESH;
  none.hdr.code = TTN_GETDISPINFOA;
  SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&none));
  EXPECT_EQ(none.lpszText, nullptr);

  // The active pane's caption strip is drawn in the active caption colours.
  HDC dc = GetDC(window);
  auto background = [&](HWND strip) {
    SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(strip));
    return GetBkColor(dc);
  };
  EXPECT_EQ(background(LocalLabel), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(background(RemoteLabel), GetSysColor(COLOR_INACTIVECAPTION));
  Command(IDM_SWITCH_PANE);
  EXPECT_EQ(background(LocalLabel), GetSysColor(COLOR_INACTIVECAPTION));
  EXPECT_EQ(background(RemoteLabel), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_CAPTIONTEXT));
  ReleaseDC(window, dc);

  // A refill writes the rows anew: nothing stays selected, whatever the row count.
  Connect();
  Command(IDM_SELECT_ALL);
  EXPECT_GT(SendMessageA(RemoteList, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  Command(IDM_REFRESH);
  EXPECT_EQ(SendMessageA(RemoteList, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  const int rows = ListRowCount(RemoteList);
  const std::string root = testenv::WinePath(testenv::Get("VAKO_PYFTPD_ROOT")) + "\\";
  WriteWholeFile(root + "more.txt", "m");
  Command(IDM_SELECT_ALL);
  Command(IDM_REFRESH);
  EXPECT_EQ(ListRowCount(RemoteList), rows + 1);
  EXPECT_EQ(SendMessageA(RemoteList, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  DeleteFileA((root + "more.txt").c_str());
  Command(IDM_REFRESH);
  EXPECT_EQ(ListRowCount(RemoteList), rows);
  std::vector<long> keys;
  for (int row = 0; row < rows; ++row) keys.push_back(ListRowKey(RemoteList, row));
  std::sort(keys.begin(), keys.end());
  for (int i = 0; i < rows; ++i) EXPECT_EQ(keys[static_cast<size_t>(i)], 3000 + i);
}

}  // namespace

namespace {

void PumpMessages() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

TEST_F(MainWindowTest, ViewStyleOutsideTheViewCommandsStartsInDetails) {
  // 40015 is Exit: sent as the remote list's view style it would close the window.
  Open("RemoteListType=40015\r\n");
  PumpMessages();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(Options.RemoteListType, 40004);
  EXPECT_EQ(GetWindowLongA(RemoteList, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
}

TEST_F(MainWindowTest, ConversionSettingsToggleAndAreSaved) {
  // An "NKFUp" the menu does not know leaves the radio group as the resource has it.
  Open("NKFUp=7\r\nNKFDown=0\r\nNKFKana=0\r\n");
  for (int id : {IDM_TO_EUC, IDM_TO_JIS, IDM_NO_CONVERT}) EXPECT_FALSE(Checked(id)) << id;
  for (int id : {IDM_NKF_DOWN, IDM_NKF_KANA, IDM_TO_EUC, IDM_TO_JIS, IDM_NO_CONVERT})
    EXPECT_FALSE(Grayed(id)) << id;

  Command(IDM_NKF_DOWN);
  EXPECT_EQ(Options.NKFDown, 1);
  EXPECT_TRUE(Checked(IDM_NKF_DOWN));
  Command(IDM_NKF_KANA);
  EXPECT_EQ(Options.NKFKana, 1);
  EXPECT_TRUE(Checked(IDM_NKF_KANA));
  Command(IDM_TO_JIS);
  EXPECT_EQ(Options.NKFUp, 2);
  EXPECT_TRUE(Checked(IDM_TO_JIS));
  EXPECT_FALSE(Checked(IDM_TO_EUC));
  Command(IDM_TO_EUC);
  EXPECT_EQ(Options.NKFUp, 1);
  EXPECT_TRUE(Checked(IDM_TO_EUC));
  EXPECT_FALSE(Checked(IDM_TO_JIS));

  // While a job runs they do nothing.
  JobRunning = 1;
  Command(IDM_NKF_DOWN);
  Command(IDM_NO_CONVERT);
  EXPECT_EQ(Options.NKFDown, 1);
  EXPECT_EQ(Options.NKFUp, 1);
  JobRunning = 0;

  Command(IDM_NKF_KANA);
  EXPECT_EQ(Options.NKFKana, 0);
  EXPECT_FALSE(Checked(IDM_NKF_KANA));
  Command(IDM_NO_CONVERT);
  EXPECT_EQ(Options.NKFUp, 0);
  EXPECT_TRUE(Checked(IDM_NO_CONVERT));
  Command(IDM_TO_JIS);
  DestroyWindow(window);
  window = nullptr;
  const std::string ini = ReadWholeFile(program.path() + "vako.ini");
  EXPECT_NE(ini.find("NKFDown=1\r\n"), std::string::npos);
  EXPECT_NE(ini.find("NKFKana=0\r\n"), std::string::npos);
  EXPECT_NE(ini.find("NKFUp=2\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, EndOfDownloadRefillsTheLocalFolder) {
  Open();
  const std::string folder = CurrentLocalFolder;
  WriteWholeFile(local.path() + "arrived.txt", "new");
  // A download for Open ran in the work folder; the file to open does not exist here, so
  // nothing starts, and the shell's failure is not reported.
  SetCurrentDirectoryA(WorkFolder.c_str());
  OpenAfterDownload = 1;
  SharedNameBuffer = "no-such-download.vakotest";
  EXPECT_EQ(Command(IDM_DOWNLOAD_DONE), 0);
  EXPECT_EQ(OpenAfterDownload, 0);
  EXPECT_EQ(CurrentLocalFolder, folder);
  const std::vector<std::string> names = Names(LocalList);
  EXPECT_NE(std::find(names.begin(), names.end(), "arrived.txt"), names.end());
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(MainWindowTest, SplitBarDragEndsWhenTheMouseCaptureIsLost) {
  Open("WindowDiv=1\r\nWindowSplitPos2=128\r\n");
  SetClientSize(window, 640, 480);
  // The stacked pane splitter lies just above the remote caption strip (T + Y = 160).
  const LPARAM onBar = MAKELPARAM(100, 158);
  for (UINT lost : {static_cast<UINT>(WM_CANCELMODE), static_cast<UINT>(WM_CAPTURECHANGED)}) {
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, onBar);
    ASSERT_TRUE(SplitBarDragging());
    ASSERT_EQ(GetCapture(), window);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 300));
    if (lost == WM_CANCELMODE) {
      SendMessageA(window, WM_CANCELMODE, 0, 0);
    } else {
      ReleaseCapture();  // as when another window takes the mouse (Alt+Tab)
    }
    EXPECT_FALSE(SplitBarDragging()) << lost;
    EXPECT_EQ(GetCapture(), nullptr) << lost;
    // A release that follows moves nothing: the drag was given up.
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(100, 300));
    EXPECT_EQ(Options.WindowSplitPos2, 128) << lost;
  }
  // The bar can be dragged again afterwards.
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, onBar);
  ASSERT_TRUE(SplitBarDragging());
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 250));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(100, 250));
  EXPECT_FALSE(SplitBarDragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Options.WindowSplitPos2, 250 + 2 - 32);
}

TEST_F(MainWindowTest, LongRemoteFolderNamesAreReadBackWhole) {
  Open();
  const std::string longName = std::string(1500, 'n') + "x";
  TreeTempPath = WorkFolder + "TREElong.tmp";
  WriteWholeFile(TreeTempPath, longName + "/sub/\r\n" + std::string(1500, 'n') + "y/\r\n");
  CurrentRemoteFolder = "/" + longName + "/sub";
  ASSERT_EQ(RebuildRemoteTree(RemoteTree), 1);
  HTREEITEM selected = TreeView_GetSelection(RemoteTree);
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(TreeItemText(RemoteTree, selected), "sub");
  EXPECT_EQ(RemotePathOfTreeItem(RemoteTree, selected), "/" + longName + "/sub");
  TreeTempPath.clear();
  CurrentRemoteFolder.clear();
}

// The tree cache is rewritten through a new file that takes the old one's place. When
// that cannot happen (here: the old file is held open by another program), the old cache
// must still be there afterwards, whole.
TEST(TreeCacheRewrite, AReplaceThatCannotHappenKeepsTheOldCache) {
  TempFolder dir;
  const std::string path = dir.path() + "host.tre";
  const std::string old = "pub/\r\npub/old/\r\npub/old/x/\r\n";
  auto holdOpen = [&] {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  };

  WriteWholeFile(path, old);
  HANDLE reader = holdOpen();
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  const int removed = RemoveTreeCacheLine(path, "pub/old/");
  CloseHandle(reader);
  ASSERT_TRUE(FileExists(path));
  EXPECT_EQ(ReadWholeFile(path), removed ? "pub/\r\npub/old/x/\r\n" : old);

  WriteWholeFile(path, old);
  reader = holdOpen();
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  const int renamed = RenameTreeCacheDescendantsInFile(path, "pub/old/", "pub/new/");
  CloseHandle(reader);
  ASSERT_TRUE(FileExists(path));
  EXPECT_EQ(ReadWholeFile(path), renamed ? "pub/\r\npub/old/\r\npub/new/x/\r\n" : old);

  // Without anyone holding it the rewrite takes place, and no new file is left beside it.
  EXPECT_EQ(RemoveTreeCacheLine(path, "pub/"), 1);
  EXPECT_EQ(ReadWholeFile(path), "pub/old/\r\npub/old/x/\r\n");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir.path() + "*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  int files = 0;
  do files += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1; while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(files, 1);
}

}  // namespace
