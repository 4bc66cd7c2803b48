// The main window made in this process (the same code and resources as vako.exe), where
// its menu can be read: menu grays and checks, toolbar states and captions as the
// connection, the active pane and a running job change; commands refused during a job;
// the children's places; the column widths kept at exit; a missing tree cache file.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/app_state_win.h"
#include "app/folder_trees_win.h"
#include "app/list_rows_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
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
