// A job reads what it took when it started, whatever the user does in the window while it
// runs: against a server that takes its time over every file, clicks, selections, sorts
// and the link analyzer during a download, an upload, a mirroring upload and a clipboard
// copy of remote entries change nothing of what lands where, nor of what is deleted.
#include "support/case_table.h"
#include "support/program_fixture_win.h"

namespace {

using Tree = std::vector<std::pair<std::string, std::string>>;  // path ("a/" a folder), bytes

std::string EntryText(const std::string& path, const std::string* data) { return data ? path + "=" + *data : path; }

Lines Manifest(const Tree& tree, const std::string& below = "") {
  Lines lines;
  for (const auto& [path, data] : tree)
    if (path.compare(0, below.size(), below) == 0 && path != below)
      lines.push_back(EntryText(path.substr(below.size()), path.back() == '/' ? nullptr : &data));
  return Sorted(lines);
}

void Put(const std::string& folder, const Tree& tree) {
  for (const auto& [path, data] : tree) {
    std::string full = folder + path;
    std::replace(full.begin(), full.end(), '/', '\\');
    if (path.back() == '/')
      CreateDirectoryA(full.c_str(), nullptr);
    else
      WriteWholeFile(full, data);
  }
}

// Nine files on three levels, each named after its place.
Tree JobTree(const std::string& top) {
  Tree tree = {{top + "/", ""}, {top + "/sub/", ""}, {top + "/sub/deep/", ""}};
  for (const char* path : {"a1.bin", "a2.bin", "a3.bin", "a4.bin", "sub/b1.bin", "sub/b2.bin", "sub/b3.bin",
                           "sub/deep/c1.bin", "sub/deep/c2.bin"})
    tree.push_back({top + "/" + path, std::string("content of ") + path});
  return tree;
}

const TreeNodeView* FindNode(const TreeNodeView& node, const std::string& text) {
  if (node.text == text) return &node;
  for (const TreeNodeView& child : node.children)
    if (const TreeNodeView* found = FindNode(child, text)) return found;
  return nullptr;
}

class SlowServerTest : public ProgramTest {
 protected:
  std::string root = "none";
  std::string HostRoot() const { return "/tmp/vako-clicks-" + std::to_string(GetCurrentProcessId()) + "-" + root; }
  std::string ServerPath() const {
    std::string path = testenv::WinePath(HostRoot() + "/");
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  }
  // The file commands the server has read so far.
  int FileCommands() const {
    const std::string log = ReadWholeFile(testenv::WinePath(testenv::Get("VAKO_SCRIPTED_RECORD") + "/slowdisk.log"));
    int count = 0;
    for (const char* verb : {"|RETR ", "|STOR ", "|DELE "})
      for (size_t at = log.find(verb); at != std::string::npos; at = log.find(verb, at + 1)) ++count;
    return count;
  }

  // A click on the item, made again until the tree has taken it (the item selected): the
  // tree may be filled anew, its items made again, while the job moves on.
  bool ClickTreeItem(HWND tree, const std::string& text) {
    auto node = [&](TreeNodeView& all) { return FindNode(all = vako->Tree(tree), text); };
    return WaitUntil([&] {
      TreeNodeView all;
      const TreeNodeView* item = node(all);
      const RECT at = item ? vako->TreeItemRect(tree, item->item) : RECT{};
      if (IsRectEmpty(&at)) return false;
      vako->Click(tree, Center(at));
      return WaitUntil([&] { return (item = node(all)) && item->selected; }, 1000);
    });
  }

  // The last row with a size (a file; the sorts may have put the parent row last).
  int LastFileRow(HWND list) const {
    const std::vector<ListRowView> rows = vako->Rows(list);
    int row = static_cast<int>(rows.size()) - 1;
    while (row > 0 && rows[static_cast<size_t>(row)].column[1].find_first_of("0123456789") == std::string::npos) --row;
    return row;
  }

  void Act(const std::string& action) {
    HWND list = vako->Child(ActivePaneList());
    if (action == "tree") {
      ASSERT_TRUE(ClickTreeItem(vako->Child(2090), "yonder"));
    } else if (action == "enter") {
      vako->Click(panes.localList, Center(vako->RowRect(panes.localList, LastFileRow(panes.localList))), true);
    } else if (action == "dragout") {
      const RECT row = vako->RowRect(panes.localList, LastFileRow(panes.localList));
      vako->Drag(panes.localList, Center(row), POINT{row.left + 40, row.bottom + 30});
    } else if (action == "selectall") {
      vako->PostCommand(IDM_SELECT_ALL);
    } else if (action == "invert") {
      vako->PostCommand(IDM_INVERT_ITEMS);
    } else if (action == "sort") {
      vako->Click(vako->Header(list), Center(vako->HeaderItemRect(list, 1)));
    } else if (action == "arrange") {
      vako->PostCommand(IDM_SORT_DATE);
    } else if (action == "analyzer") {
      vako->PostCommand(IDM_LINK_ANALYZER);
    } else {
      FAIL() << action;
    }
  }
  int active = 0;
  int ActivePaneList() const { return active ? 2100 : 2000; }

  void Connect() {
    Start({"Port=" + std::to_string(testenv::ScriptedPort("slowdisk")), "OK=1"});
    ASSERT_TRUE(vako->ConnectThroughDialog(HostRoot(), "x"));
    ASSERT_TRUE(WaitForRow(panes.remoteList, ".."));
  }
};

class ClickSafety : public SlowServerTest, public ::testing::WithParamInterface<Case> {};

TEST_P(ClickSafety, TheWindowChangesNothingOfTheJob) {
  const std::string job = GetParam()[0];
  root = job;
  ASSERT_EQ(Host("rm -rf " + HostRoot() + " && mkdir -p " + HostRoot()), 0);
  // A local folder outside the job (the mirror reaches it last: the clicks come before),
  // and a file for "enter" where the local pane stays in the start folder.
  const Tree elsewhere = {{"yonder/", ""}, {"yonder/keep.txt", "keep"}, {"yonder/a1.bin", "mine"}, {"note.bin", "n"}};
  Put(local.path(), elsewhere);
  const Tree down = JobTree("D"), up = JobTree("U");
  // What only the server has, at every level, for the mirror to delete; and one file it
  // replaces.
  const Tree stale = {{"old.txt", "old"}, {"gone/", ""}, {"gone/x.txt", "x"}, {"U/", ""}, {"U/stale.bin", "s"},
                      {"U/sub/", ""}, {"U/sub/deep/", ""}, {"U/sub/deep/stale2.bin", "s"}, {"U/a1.bin", "older"}};
  if (job == "download" || job == "copy") Put(ServerPath(), down);
  if (job == "upload" || job == "mirror") Put(local.path(), up);
  if (job == "mirror") Put(ServerPath(), stale);
  Connect();
  if (job == "download" || job == "copy") {
    ASSERT_TRUE(WaitForRow(panes.remoteList, "D"));
    Select(1, {"D"});
    active = 1;
  } else if (job == "upload") {
    ASSERT_TRUE(WaitForRow(panes.localList, "U"));
    Select(0, {"U"});
  } else {
    ASSERT_TRUE(WaitForRow(panes.remoteList, "old.txt"));
    ASSERT_TRUE(vako->MakePaneActive(0));
  }
  const int before = FileCommands();
  vako->PostCommand(job == "download" ? IDM_DOWNLOAD : job == "upload" ? IDM_UPLOAD
                    : job == "mirror" ? IDM_MIRROR_UPLOAD : IDM_COPY);
  int step = 0;
  for (const std::string& action : SplitOn(GetParam()[1], ' ')) {
    ++step;
    ASSERT_TRUE(WaitUntil([&] { return FileCommands() >= before + step; }, 60000)) << action << Boxes();
    Act(action);
  }
  std::vector<std::string> texts = Run(0);
  // The shell has no program for the file opened by "enter".
  texts.erase(std::remove(texts.begin(), texts.end(), ResourceText(IDS_FAILED_SHELL_OPEN)), texts.end());
  EXPECT_EQ(texts, Lines{ResourceText(job == "upload" || job == "mirror" ? IDS_COMPLETED_SEND : IDS_COMPLETED_RECEIVE)});
  // The same click once the job has ended goes where it points (a first click after the
  // message box may only bring the window back to the front).
  if (job != "copy") {
    EXPECT_TRUE(WaitUntil([&] {
      Act("tree");
      return WaitUntil([&] { return vako->RowOfName(panes.localList, "keep.txt") >= 0; }, 3000);
    }, 20000)) << Boxes();
  }

  Lines expectedLocal = Manifest(elsewhere);
  if (job == "download") expectedLocal = Sorted([&] { Lines l = expectedLocal; for (auto& e : Manifest(down)) l.push_back(e); return l; }());
  if (job == "upload" || job == "mirror") {
    for (auto& e : Manifest(up)) expectedLocal.push_back(e);
    expectedLocal = Sorted(expectedLocal);
  }
  EXPECT_EQ(FolderEntries(local.path(), EntryText), expectedLocal);
  Lines expectedServer = job == "download" || job == "copy" ? Manifest(down) : Manifest(up);
  if (job == "mirror") expectedServer = expectedLocal;  // pass 2 deleted exactly what only the server had
  EXPECT_EQ(FolderEntries(ServerPath(), EntryText), expectedServer);
  if (job == "copy") {
    // The entries arrived in a folder of the work folder, whole, and nowhere else.
    const Lines copies = WorkFolderCopies("D\\sub\\deep\\c2.bin");
    EXPECT_EQ(copies, Lines{"content of sub/deep/c2.bin"});
  }
  Host("rm -rf " + HostRoot());
}

// Stop three levels down ends the whole job: the file in progress is abandoned and no
// further file starts, at this level or any above it.
TEST_F(SlowServerTest, StopDeepDownEndsTheWholeJob) {
  root = "stop";
  ASSERT_EQ(Host("rm -rf " + HostRoot() + " && mkdir -p " + HostRoot()), 0);
  Put(ServerPath(), JobTree("D"));
  Connect();
  ASSERT_TRUE(WaitForRow(panes.remoteList, "D"));
  Select(1, {"D"});
  const int before = FileCommands();
  vako->PostCommand(IDM_DOWNLOAD);
  // The eighth file is the first of the deepest folder.
  ASSERT_TRUE(WaitUntil([&] { return FileCommands() >= before + 8; }, 60000)) << Boxes();
  vako->PostCommand(IDM_STOP);
  EXPECT_EQ(Run(0), Lines{ResourceText(IDS_JOB_STOPPED)});
  EXPECT_EQ(FileCommands(), before + 8);
  EXPECT_FALSE(FileExists(local.path() + "D\\sub\\deep\\c2.bin"));
  Host("rm -rf " + HostRoot());
}

// The files done so far in the running totals of a status text ("[3 files, ...]"), -1
// without them.
int FilesInTotals(const std::string& status) {
  const std::string format = ResourceText(IDS_JOB_TOTALS);
  const size_t value = format.find("%s");
  const std::string before = format.substr(0, value);
  const size_t at = status.rfind(before);
  if (value == std::string::npos || at == std::string::npos) return -1;
  const std::string after = format.substr(value + 2, format.find("%s", value + 2) - value - 2);
  const size_t digits = at + before.size();
  const size_t end = status.find(after, digits);
  if (end == std::string::npos || end == digits) return -1;
  const std::string number = status.substr(digits, end - digits);
  return number.find_first_not_of("0123456789") == std::string::npos ? std::stoi(number) : -1;
}

// A long job shows that it is moving: the status bar counts the files done. Then folders
// whose listing never comes: the window answers meanwhile, and Stop ends the job there.
TEST_F(SlowServerTest, TotalsMoveAndStopEndsAHangingListing) {
  root = "totals";
  ASSERT_EQ(Host("rm -rf " + HostRoot() + " && mkdir -p " + HostRoot() + "/hanging " + HostRoot() + "/silent"), 0);
  Put(ServerPath(), JobTree("D"));
  Connect();
  ASSERT_TRUE(WaitForRow(panes.remoteList, "D"));
  Select(1, {"D"});
  vako->PostCommand(IDM_DOWNLOAD);
  HWND bar = vako->Child(2020);
  ASSERT_TRUE(WaitUntil([&] { return FilesInTotals(WindowText(bar)) >= 2; }, 60000)) << WindowText(bar);
  EXPECT_EQ(Run(0), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(FilesInTotals(WindowText(bar)), -1) << "totals left after the job: " << WindowText(bar);

  // The listing's data never comes; then not even the first reply to LIST. Each time the
  // session is left in step: the next job and the last refresh work.
  const std::string log = testenv::WinePath(testenv::Get("VAKO_SCRIPTED_RECORD") + "/slowdisk.log");
  for (const std::string folder : {"hanging", "silent"}) {
    Select(1, {folder});
    vako->PostCommand(IDM_DOWNLOAD);
    ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(log).find("/" + folder + "|LIST") != std::string::npos; }, 60000));
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(vako->window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0) << folder;
    vako->PostCommand(IDM_STOP);
    EXPECT_EQ(Run(0), Lines{ResourceText(IDS_JOB_STOPPED)}) << folder;
  }
  Host("touch " + HostRoot() + "/after.txt");
  vako->PostCommand(IDM_REFRESH);
  EXPECT_TRUE(WaitForRow(panes.remoteList, "after.txt")) << Boxes();
  Host("rm -rf " + HostRoot());
}

INSTANTIATE_TEST_SUITE_P(Jobs, ClickSafety, ::testing::ValuesIn(ReadCases("jobs/data/click_safety.tsv")),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param[0]; });

}  // namespace
