// The real program against real servers: connect through the Connect dialog, list, enter
// folders by double click, by the tree and by Go to Folder, go back with Backspace,
// refresh, rename a file and a folder in place, and disconnect; a lost connection; connecting
// to a server that never greets.
#include "support/program_fixture_win.h"

namespace {

// The vsftpd folder filled with the tree these tests list.
class BrowsingTest : public ProgramTest {
 protected:
  static void SetUpTestSuite() {
    const std::string script = testenv::Get("VAKO_SOURCE_DIR") + "/tests/browsing/make_server_tree.sh";
    ASSERT_EQ(RunHostCommand("sh '" + script + "' '" + testenv::Get("VAKO_VSFTPD_ROOT") + "' " + testenv::Get("VAKO_FTP_USER")), 0);
  }
};

// The tree cache working file of the running program: the TRE*.tmp file (the prefix keeps
// three letters) of the newest work folder that has one.
std::string TreeCacheFile() {
  const std::string folder = NewestWorkFolder("TRE*.tmp");
  if (folder.empty()) return "";
  WIN32_FIND_DATAA tree;
  HANDLE t = FindFirstFileA((folder + "TRE*.tmp").c_str(), &tree);
  if (t == INVALID_HANDLE_VALUE) return "";
  FindClose(t);
  return folder + tree.cFileName;
}

// The remote tree's node of a path below its root "/" (null when missing).
const TreeNodeView* RemoteNode(const TreeNodeView& tree, const std::string& path) {
  const TreeNodeView* root = tree.Child("/");
  return root ? root->Find(path) : nullptr;
}

std::vector<std::string> ChildTexts(const TreeNodeView& tree, const std::string& path) {
  const TreeNodeView* node = RemoteNode(tree, path);
  if (!node) return {"<missing>"};
  std::vector<std::string> texts;
  for (const TreeNodeView& child : node->children) texts.push_back(child.text);
  return texts;
}

// Whether the tree cache file holds the line.
bool Cached(const std::string& cache, const std::string& line) {
  return ("\n" + ReadWholeFile(cache)).find("\n" + line + "\r\n") != std::string::npos;
}

TEST_F(BrowsingTest, ConnectBrowseRenameAndDisconnect) {
  Start({PortSetting("VAKO_VSFTPD_PORT")});
  Connect();
  // vsftpd shows the whole path of its root folder; lines and tree paths lack the first slash.
  const std::string base = testenv::Get("VAKO_VSFTPD_ROOT");
  const std::string rel = base.substr(1) + "/";
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base));
  ASSERT_TRUE(WaitForRow(panes.remoteList, "with space.txt"));
  EXPECT_EQ(vako->ButtonState(IDM_DISCONNECT), 4);

  // The tree and the tree cache working file hold the folders seen.
  TreeNodeView tree = vako->Tree(panes.remoteTree);
  EXPECT_EQ(ChildTexts(tree, rel), (std::vector<std::string>{"docs", "empty", "link", "pub"}));
  EXPECT_TRUE(RemoteNode(tree, rel)->selected);
  const std::string cache = TreeCacheFile();
  ASSERT_FALSE(cache.empty());
  EXPECT_EQ(ReadWholeFile(cache), rel + "docs/\r\n" + rel + "empty/\r\n" + rel + "link/\r\n" + rel + "pub/\r\n");

  // Double clicks enter folders; the cache and the tree grow.
  DoubleClickRow(panes.remoteList, "pub");
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base + "/pub"));
  ASSERT_TRUE(WaitForRow(panes.remoteList, "readme.txt"));
  EXPECT_EQ(vako->Names(panes.remoteList), (std::vector<std::string>{"..", "linux", "readme.txt"}));
  // Names Windows refuses are not shown, and the user is told so; the log names them.
  EXPECT_EQ(WindowText(vako->Child(2020)), ResourceText(IDS_HIDDEN_ENTRIES, "2"));
  const std::string log = ReadWholeFile(NewestWorkFolder("ftplog.txt") + "ftplog.txt");
  EXPECT_NE(log.find("(not shown) what?.txt"), std::string::npos);
  DoubleClickRow(panes.remoteList, "linux");
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base + "/pub/linux"));
  EXPECT_TRUE(Cached(cache, rel + "pub/linux/kernel/"));

  // A click in the tree lists that folder and leaves the tree as it is (every other
  // listing draws it anew, so its items are read again).
  tree = vako->Tree(panes.remoteTree);
  ASSERT_NE(RemoteNode(tree, rel + "pub/linux/kernel"), nullptr);
  const RECT item = vako->TreeItemRect(panes.remoteTree, RemoteNode(tree, rel + "pub/linux/kernel")->item);
  vako->Click(panes.remoteTree, Center(item));
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base + "/pub/linux/kernel"));
  ASSERT_TRUE(WaitForRow(panes.remoteList, "config.txt"));
  EXPECT_EQ(vako->Names(panes.remoteList), (std::vector<std::string>{"..", "config.txt"}));
  EXPECT_EQ(RemoteNode(vako->Tree(panes.remoteTree), rel + "pub/linux/kernel")->item,
            RemoteNode(tree, rel + "pub/linux/kernel")->item);

  // Go to Folder shows the current folder and goes where it is told.
  vako->PostCommand(IDM_GOTO_FOLDER);
  HWND go = vako->WaitForDialog(20000, "Go to Folder");
  ASSERT_NE(go, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(go, IDC_FOLDER_FIELD)), base + "/pub/linux/kernel");
  VakoProcess::SetItemText(go, IDC_FOLDER_FIELD, base + "/docs");
  VakoProcess::PressButton(go, IDOK);
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base + "/docs"));

  // Refresh shows what changed on the server.
  WriteWholeFile(testenv::WinePath(testenv::Get("VAKO_VSFTPD_ROOT") + "/docs/new.txt"), "new");
  EXPECT_LT(vako->RowOfName(panes.remoteList, "new.txt"), 0);
  vako->PressKey(panes.remoteList, VK_F5);
  ASSERT_TRUE(WaitForRow(panes.remoteList, "new.txt"));

  // In-place renames: a folder (the cache follows, also below it) and a file (it does not).
  vako->PressKey(panes.remoteList, VK_BACK);  // up one folder
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base));
  DoubleClickRow(panes.remoteList, "pub");
  ASSERT_TRUE(WaitForRow(panes.remoteList, "linux"));
  ASSERT_TRUE(RenameRow(panes.remoteList, "linux", "gnu"));
  EXPECT_TRUE(FileExists(testenv::WinePath(testenv::Get("VAKO_VSFTPD_ROOT") + "/pub/gnu/kernel/config.txt")));
  const std::string lines = ReadWholeFile(cache);
  for (const char* gone : {"pub/linux/", "pub/linux/kernel/"}) EXPECT_FALSE(Cached(cache, rel + gone)) << gone;
  for (const char* moved : {"pub/gnu/", "pub/gnu/kernel/"}) EXPECT_TRUE(Cached(cache, rel + moved)) << moved;
  EXPECT_EQ(ChildTexts(vako->Tree(panes.remoteTree), rel + "pub"), std::vector<std::string>{"gnu"});

  ASSERT_TRUE(RenameRow(panes.remoteList, "readme.txt", "notes.txt"));
  EXPECT_TRUE(FileExists(testenv::WinePath(testenv::Get("VAKO_VSFTPD_ROOT") + "/pub/notes.txt")));
  EXPECT_EQ(ReadWholeFile(cache), lines);

  // A rename the server refuses keeps the row.
  ASSERT_TRUE(RenameRow(panes.remoteList, "notes.txt", "no/such/folder/x.txt"));
  EXPECT_EQ(AnswerBox(), "Failed to rename");
  EXPECT_GE(vako->RowOfName(panes.remoteList, "notes.txt"), 0);

  // Disconnect: no connection, no rows, no tree, and the working file is gone.
  ASSERT_TRUE(vako->SendCommand(IDM_DISCONNECT));
  EXPECT_EQ(WindowText(panes.remoteLabel), "[UNCONNECTED]");
  EXPECT_EQ(vako->RowCount(panes.remoteList), 0);
  EXPECT_TRUE(vako->Tree(panes.remoteTree).children.empty());
  EXPECT_FALSE(FileExists(cache));
  EXPECT_EQ(vako->ButtonState(IDM_DISCONNECT), 16);
}

// The server says 421 and closes while a folder is listed: the session ends as Disconnect
// ends it, and the user hears of it once.
TEST_F(BrowsingTest, LostConnectionEndsTheSessionAndIsToldOnce) {
  Start({"Port=" + std::to_string(testenv::ScriptedPort("listingthenbye"))});
  Connect("secret");
  ASSERT_TRUE(WaitForRow(panes.remoteList, "a.txt"));
  ASSERT_TRUE(vako->SendCommand(IDM_SWITCH_PANE));
  vako->PostCommand(IDM_REFRESH);
  EXPECT_EQ(AnswerBox(), "The connection to the server was lost");
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, "[UNCONNECTED]"));
  EXPECT_EQ(vako->RowCount(panes.remoteList), 0);
  EXPECT_EQ(vako->ButtonState(IDM_DISCONNECT), 16);
  EXPECT_EQ(vako->WaitForDialog(1500, "Vako FTP"), nullptr) << "told more than once";
}

// A server that accepts and never greets: the window goes on answering while the login waits,
// Esc and then Stop give the attempt up as no error, a refused password is still told, and a
// real server is connected to after them. Closing while connecting closes.
TEST_F(BrowsingTest, ConnectingToASilentServerKeepsTheWindowAndCanBeCancelled) {
  const std::string silent = program.path() + "silent.BOK";  // also the Favorites menu's first entry
  WriteWholeFile(silent, "[Vako]\r\nHostName=silent\r\nHostAddr=127.0.0.1\r\niPort=" +
                             std::to_string(testenv::ScriptedPort("silent")) + "\r\nUserID=anna\r\n");
  Start({PortSetting("VAKO_VSFTPD_PORT")}, "\"" + silent + "\"");
  auto connectingToSilent = [&] {
    HWND sheet = vako->WaitForDialog();
    ASSERT_NE(sheet, nullptr);
    VakoProcess::PressButton(sheet, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(vako->Child(2020)) == ResourceText(IDS_CONNECTING, "silent"); }));
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(vako->window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer), 0) << "the window hangs";
    EXPECT_EQ(vako->ButtonState(IDM_CONNECT), TBSTATE_INDETERMINATE);  // busy: no second connect
  };
  auto endedUnconnected = [&] {
    EXPECT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_CONNECT) == TBSTATE_ENABLED; }));
    EXPECT_EQ(vako->ButtonState(IDM_DISCONNECT), TBSTATE_INDETERMINATE);
    EXPECT_EQ(vako->ButtonState(IDM_PREVIOUS_FOLDER), TBSTATE_ENABLED);
    EXPECT_EQ(WindowText(panes.remoteLabel), "[UNCONNECTED]");
    EXPECT_EQ(Boxes(), "");
  };
  connectingToSilent();  // from the command line
  vako->PressKey(panes.localList, VK_ESCAPE);
  endedUnconnected();
  vako->PostCommand(20000);  // the first favorite entry
  connectingToSilent();
  ASSERT_TRUE(vako->SendCommand(IDM_STOP));
  endedUnconnected();

  Connect("wrong password");
  EXPECT_EQ(AnswerBox().substr(0, 34), "Failed to login.Invalid Password.\r");
  endedUnconnected();
  Connect();
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, testenv::Get("VAKO_VSFTPD_ROOT")));
  ASSERT_TRUE(WaitForRow(panes.remoteList, "with space.txt"));
  EXPECT_EQ(vako->ButtonState(IDM_DISCONNECT), TBSTATE_ENABLED);

  vako->PostCommand(20000);  // the first favorite entry
  connectingToSilent();
  EXPECT_EQ(vako->Close(), 0);
}

}  // namespace
