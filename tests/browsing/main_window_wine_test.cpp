// The main window made in this process (the same code and resources as vako.exe), where
// its menu can be read: grays, checks, toolbar states and captions as the connection, the
// pane and a running job change; refills; column widths kept at exit; settings from
// vako.ini; split-bar drags that lose the mouse; long remote folder names; tree cache files
// that cannot be read or replaced.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/folder_trees_win.h"
#include "app/list_rows_win.h"
#include "app/menu_state_win.h"
#include "app/split_bar_drag_win.h"
#include "app/tree_cache.h"
#include "app/tree_cache_rename.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/login_win.h"
#include "app/remote_view_fill_win.h"
#include "resources/resource_ids.h"
#include "support/main_window_fixture_win.h"
#include "support/test_env.h"

namespace {

class MainWindowTest : public MainWindowFixture {
 protected:
  static void SetUpTestSuite() {
    MainWindowFixture::SetUpTestSuite();
    // What the server lists: a folder and two files of different sizes.
    const std::string root = testenv::WinePath(testenv::Get("VAKO_PYFTPD_ROOT")) + "\\";
    CreateDirectoryA((root + "pub").c_str(), nullptr);
    WriteWholeFile(root + "a.txt", "hello");
    WriteWholeFile(root + "data.bin", std::string(3000, 'x'));
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
  static std::vector<std::string> Names(HWND list) {
    std::vector<std::string> names;
    for (int row = 0; row < ListRowCount(list); ++row) names.push_back(ListRowText(list, row, 0));
    return names;
  }
};

// The state table (tested natively) reaches the real menu, toolbar and captions as the
// connection, the pane and a job change; the window refuses what a job forbids.
TEST_F(MainWindowTest, MenusToolbarAndCaptionsFollowConnectionPaneAndJob) {
  Open();
  UpdateMenuState(1);
  EXPECT_TRUE(Grayed(IDM_DISCONNECT));
  EXPECT_EQ(Button(IDM_CONNECT), 4);
  EXPECT_EQ(Text(RemoteLabel), "[UNCONNECTED]");
  EXPECT_EQ(Text(LocalLabel), local.path().substr(0, local.path().size() - 1));
  EXPECT_EQ(Command(IDM_SWITCH_PANE), 0);
  Connect();
  EXPECT_EQ(Text(RemoteLabel), "/");
  EXPECT_EQ(Button(IDM_DOWNLOAD), 4);
  // Descending by size on the remote pane: only its own direction flag changes.
  const int localDirection = Options.SortSub;
  Command(IDM_SORT_SIZE);
  Command(IDM_DESCENDING);
  EXPECT_EQ(Options.SortSubRemote, 1);
  EXPECT_EQ(Options.SortSub, localDirection);
  EXPECT_TRUE(Checked(IDM_DESCENDING));
  EXPECT_EQ(Names(RemoteList).front(), "data.bin");  // the largest file first

  JobRunning = 1;
  UpdateMenuState(1);
  EXPECT_TRUE(Grayed(IDM_REFRESH));
  EXPECT_EQ(Command(IDM_ASCII), 0);
  EXPECT_EQ(TransferMode, 2);
  Command(IDM_STOP);
  EXPECT_EQ(StopRequested, 1);
  StopRequested = 0;
  JobRunning = 0;
  Command(IDM_DISCONNECT);
  EXPECT_EQ(Connected, 0);
  EXPECT_EQ(Text(RemoteLabel), "[UNCONNECTED]");
  EXPECT_EQ(ListRowCount(RemoteList), 0);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(MainWindowTest, UnreadableTreeCacheFileStopsTheListing) {
  Open();
  Connect();
  ASSERT_GT(ListRowCount(RemoteList), 1);
  ASSERT_TRUE(DeleteFileA(TreeTempPath.c_str()));
  EXPECT_EQ(RefreshRemoteList(RemoteList, 0), nullptr);
  EXPECT_EQ(ListRowCount(RemoteList), 0);
  // Without its file the tree keeps only its root.
  EXPECT_EQ(RebuildRemoteTree(RemoteTree), 0);
  EXPECT_EQ(TreeView_GetChild(RemoteTree, TreeView_GetRoot(RemoteTree)), nullptr);
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[0].text, "Could not read tree cache file");
  EXPECT_EQ(boxes.boxes()[1].text, "Could not read Tree information file");
  EXPECT_EQ(boxes.boxes()[1].caption, "VakoFTP");
}

// A session whose tree cache file could not be made at login lists its folders without one,
// asking nothing at each refill.
TEST_F(MainWindowTest, NoTreeCacheFileListsWithoutOne) {
  Open();
  Connect();
  const std::string kept = TreeTempPath;
  TreeTempPath.clear();
  EXPECT_EQ(RefreshRemoteList(RemoteList, 0), RemoteList);
  EXPECT_EQ(RefreshRemoteList(RemoteList, 0), RemoteList);
  EXPECT_GT(ListRowCount(RemoteList), 1);
  EXPECT_TRUE(boxes.boxes().empty());
  TreeTempPath = kept;
}

// A refill writes the rows anew: nothing stays selected, whatever the row count.
TEST_F(MainWindowTest, RefillsWriteTheRowsAnew) {
  Open();
  Command(IDM_SWITCH_PANE);
  Connect();
  const int rows = ListRowCount(RemoteList);
  const std::string root = testenv::WinePath(testenv::Get("VAKO_PYFTPD_ROOT")) + "\\";
  WriteWholeFile(root + "more.txt", "m");
  Command(IDM_SELECT_ALL);
  Command(IDM_REFRESH);
  EXPECT_EQ(ListRowCount(RemoteList), rows + 1);
  EXPECT_EQ(SendMessageA(RemoteList, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  DeleteFileA((root + "more.txt").c_str());
  std::vector<long> keys;
  for (int row = 0; row <= rows; ++row) keys.push_back(ListRowKey(RemoteList, row));
  std::sort(keys.begin(), keys.end());
  for (int i = 0; i <= rows; ++i) EXPECT_EQ(keys[static_cast<size_t>(i)], 3000 + i);
}

// Settings from vako.ini and back: a view style outside the view commands (40015 is Exit:
// sent as the view it would close the window) starts in details; the conversion commands
// are kept, and an "NKFUp" without an item checks none; column widths are kept only for a
// details view.
TEST_F(MainWindowTest, SettingsFromAndToVakoIni) {
  Open("RemoteListType=40015\r\nLocalListType=40003\r\nLocalColumn1=111\r\nNKFUp=7\r\nNKFDown=0\r\n");
  for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&m);
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(Options.RemoteListType, 40004);
  EXPECT_EQ(GetWindowLongA(RemoteList, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  // "NKFUp" 7 has no item: none of the three is checked, also after the menu is updated.
  Command(IDM_SELECT_ALL);
  for (int id : {IDM_TO_EUC, IDM_TO_JIS, IDM_NO_CONVERT})
    EXPECT_EQ(GetMenuState(MainMenu, id, MF_BYCOMMAND) & MF_CHECKED, 0u) << id;
  for (int id : {IDM_NKF_DOWN, IDM_TO_JIS}) Command(id);
  SendMessageA(LocalList, LVM_SETCOLUMNWIDTH, 0, 222);
  SendMessageA(RemoteList, LVM_SETCOLUMNWIDTH, 0, 233);
  DestroyWindow(window);
  window = nullptr;
  const std::string ini = ReadWholeFile(program.path() + "vako.ini");
  for (const char* line : {"NKFDown=1\r\n", "NKFUp=2\r\n", "LocalColumn1=111\r\n", "RemColumn1=233\r\n"})
    EXPECT_NE(ini.find(line), std::string::npos) << line;
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
  RECT r{0, 0, 640, 480};  // the client area
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_ACCEPTFILES);
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOMOVE);
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

// A kept tree cache may come from anywhere: a line of 50,000 levels is left out. Lines added
// since the last build add their folders alone: the items already shown stay as they were.
TEST_F(MainWindowTest, RemoteTreeGrowsByNewLinesAndSurvivesAnyDepth) {
  Open();
  TreeTempPath = WorkFolder + "TREEdeep.tmp";
  std::string deep;
  for (int i = 0; i < 50000; ++i) deep += "a/";
  WriteWholeFile(TreeTempPath, deep + "\r\npub/\r\n");
  CurrentRemoteFolder = "/pub";
  ASSERT_EQ(RebuildRemoteTree(RemoteTree), 1);
  HTREEITEM pub = TreeView_GetSelection(RemoteTree);
  ASSERT_EQ(TreeItemText(RemoteTree, pub), "pub");
  TreeView_SetItemState(RemoteTree, pub, TVIS_BOLD, TVIS_BOLD);
  ASSERT_EQ(AppendTreeCacheLine(TreeTempPath, "pub/new/"), 1);
  CurrentRemoteFolder = "/pub/new";
  ASSERT_EQ(RebuildRemoteTree(RemoteTree), 1);
  HTREEITEM fresh = TreeView_GetSelection(RemoteTree);
  EXPECT_EQ(RemotePathOfTreeItem(RemoteTree, fresh), "/pub/new");
  EXPECT_EQ(TreeView_GetItemState(RemoteTree, TreeView_GetParent(RemoteTree, fresh), TVIS_BOLD), TVIS_BOLD);
  TreeTempPath.clear();
  CurrentRemoteFolder.clear();
}

// Turned on, the trees show the drives and the pane's folder at once.
TEST_F(MainWindowTest, TreesTurnedOnAreBuilt) {
  Open("TreeView=0\r\n");
  EXPECT_EQ(TreeView_GetChild(LocalTree, LocalTreeRoot), nullptr);
  Command(IDM_TREE_VIEW);
  EXPECT_NE(TreeView_GetChild(LocalTree, LocalTreeRoot), nullptr);
}

// The tree cache is rewritten through a new file that takes the old one's place. When
// that cannot happen (here: the old file is held open by another program), the old cache
// must still be there afterwards, whole. A rewrite that can happen is tested natively.
TEST(TreeCacheRewrite, AReplaceThatCannotHappenKeepsTheOldCache) {
  TempFolder dir;
  const std::string path = dir.path() + "host.tre", old = "pub/\r\npub/old/\r\npub/old/x/\r\n";
  WriteWholeFile(path, old);
  HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  const int renamed = RenameTreeCacheDescendantsInFile(path, "pub/old/", "pub/new/");
  CloseHandle(reader);
  EXPECT_EQ(ReadWholeFile(path), renamed ? "pub/\r\npub/old/\r\npub/new/x/\r\n" : old);
}

}  // namespace
