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

  void Act(const std::string& action) {
    HWND list = vako->Child(ActivePaneList());
    if (action == "tree") {
      HWND tree = vako->Child(2090);
      const TreeNodeView* node = FindNode(vako->Tree(tree), "elsewhere");
      ASSERT_NE(node, nullptr);
      SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node->item));
      vako->Click(tree, Center(vako->TreeItemRect(tree, node->item)));
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
  const Tree elsewhere = {{"elsewhere/", ""}, {"elsewhere/keep.txt", "keep"}, {"elsewhere/a1.bin", "mine"}};
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
  const std::vector<std::string> texts = Run(0);
  EXPECT_EQ(texts, Lines{ResourceText(job == "upload" || job == "mirror" ? IDS_COMPLETED_SEND : IDS_COMPLETED_RECEIVE)});
  // The same click once the job has ended goes where it points (a first click after the
  // message box may only bring the window back to the front).
  if (job != "copy") EXPECT_TRUE(WaitUntil([&] {
    Act("tree");
    return WaitUntil([&] { return vako->RowOfName(panes.localList, "keep.txt") >= 0; }, 3000);
  }, 20000));

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

INSTANTIATE_TEST_SUITE_P(Jobs, ClickSafety, ::testing::ValuesIn(ReadCases("jobs/data/click_safety.tsv")),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param[0]; });

}  // namespace
