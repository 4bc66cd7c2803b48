// The real program's panes: the local list and tree, sorting both lists by every column
// in both directions, views, the active pane, the toolbar, the trees, the split bars, and
// screenshots of both arrangements.
#include <map>

#include "browsing/browsing_fixture_win.h"

namespace browsing {
namespace {

void WriteFileDated(const std::string& path, const std::string& data, int year, int month, int day, int hour,
                    int minute) {
  WriteWholeFile(path, data);
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  FILETIME local, utc;
  SystemTimeToFileTime(&t, &local);
  LocalFileTimeToFileTime(&local, &utc);
  HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(f, nullptr, nullptr, &utc);
  CloseHandle(f);
}

// A file of `size` bytes that takes no room on the disk.
bool MakeSparseFile(const std::string& path, long long size) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER at;
  at.QuadPart = size;
  bool ok = SetFilePointerEx(f, at, nullptr, FILE_BEGIN) && SetEndOfFile(f);
  CloseHandle(f);
  return ok;
}

// The order of two rows as the lists sort them: folders (Size text of blanks) first but
// for the Size column, sizes as numbers, names breaking ties of sizes and types.
int RowOrder(const ListRowView& a, const ListRowView& b, int column) {
  const bool folderA = !a.column[1].empty() && a.column[1][0] == ' ';
  const bool folderB = !b.column[1].empty() && b.column[1][0] == ' ';
  if (column == 1) {
    long long x = atoll(a.column[1].c_str()), y = atoll(b.column[1].c_str());
    if (x != y) return x < y ? -1 : 1;
    return lstrcmpiA(a.name().c_str(), b.name().c_str());
  }
  if (folderA != folderB) return folderA ? -1 : 1;
  int r = lstrcmpiA(a.column[column].c_str(), b.column[column].c_str());
  if (r == 0 && column == 2) r = lstrcmpiA(a.name().c_str(), b.name().c_str());
  return r;
}

::testing::AssertionResult SortedBy(const std::vector<ListRowView>& rows, int column, bool descending) {
  for (size_t i = 1; i < rows.size(); ++i) {
    int r = RowOrder(rows[i - 1], rows[i], column);
    if (descending ? r < 0 : r > 0)
      return ::testing::AssertionFailure() << "\"" << rows[i - 1].name() << "\" before \"" << rows[i].name()
                                           << "\" by column " << column << (descending ? " descending" : "");
  }
  return ::testing::AssertionSuccess();
}

std::vector<std::string> Reversed(std::vector<std::string> v) { return std::vector<std::string>(v.rbegin(), v.rend()); }

class PanesTest : public BrowsingTest {
 protected:
  void SetUp() override {
    CreateDirectoryA((local.path() + "sub").c_str(), nullptr);
    CreateDirectoryA((local.path() + "sub\\inner").c_str(), nullptr);
    CreateDirectoryA((local.path() + "Zeta").c_str(), nullptr);
    WriteFileDated(local.path() + "a.txt", "hello\r\n", 1999, 2, 3, 9, 5);
    WriteFileDated(local.path() + "ro.txt", "ro", 2001, 1, 1, 0, 0);
    SetFileAttributesA((local.path() + "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFileDated(local.path() + ".hidden", "h", 2002, 1, 1, 0, 0);
    ASSERT_TRUE(MakeSparseFile(local.path() + "big.bin", 3LL << 30));
  }
  void TearDown() override {
    if (vako) vako->Close();
    SetFileAttributesA((local.path() + "ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::string LocalFolder() const { return local.path().substr(0, local.path().size() - 1); }
};

TEST_F(PanesTest, LocalListTreeAndNavigation) {
  Start({"WindowRight=760", "WindowBottom=560"});
  ASSERT_TRUE(WaitForCaption(panes.localLabel, LocalFolder()));
  std::map<std::string, ListRowView> rows;
  for (const ListRowView& r : vako->Rows(panes.localList)) rows[r.name()] = r;
  ASSERT_EQ(rows.size(), 7u) << ::testing::PrintToString(vako->Names(panes.localList));
  EXPECT_EQ(rows[".."].column[1], "   ");
  EXPECT_EQ(rows[".."].column[2], "Folder");
  EXPECT_EQ(rows[".."].column[3], " ");
  EXPECT_EQ(rows[".."].key, 0);
  EXPECT_EQ(rows["sub"].column[1], "   ");
  EXPECT_EQ(rows["sub"].column[2], "Folder");
  EXPECT_EQ(rows["a.txt"].column[1], "7");
  EXPECT_EQ(rows["a.txt"].column[2], "ASCII");
  EXPECT_EQ(rows["a.txt"].column[3], "1999/02/03 09:05");
  EXPECT_EQ(rows["a.txt"].column[4], "A---");
  EXPECT_EQ(rows["big.bin"].column[1], "3221225472");  // 3 GiB: both halves of the size
  EXPECT_EQ(rows["big.bin"].column[2], "File");
  EXPECT_EQ(rows["ro.txt"].column[4].substr(3), "R");
  EXPECT_EQ(rows[".hidden"].column[4].substr(1, 1), "H");
  std::vector<std::string> names = vako->Names(panes.localList);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
            (std::vector<std::string>{"..", "sub", "Zeta"}));

  // The tree holds the folder and its sub-folders, the folder selected.
  std::vector<std::string> parts;
  for (size_t start = 0; start < LocalFolder().size();) {
    size_t end = LocalFolder().find('\\', start);
    if (end == std::string::npos) end = LocalFolder().size();
    parts.push_back(LocalFolder().substr(start, end - start));
    start = end + 1;
  }
  TreeNodeView tree = vako->Tree(panes.localTree);
  const TreeNodeView* node = tree.Child("MyComputer");
  ASSERT_NE(node, nullptr);
  for (const std::string& part : parts) {
    const TreeNodeView* next = nullptr;
    for (const TreeNodeView& c : node->children)
      if (lstrcmpiA(c.text.c_str(), part.c_str()) == 0) next = &c;
    ASSERT_NE(next, nullptr) << part;
    node = next;
  }
  EXPECT_TRUE(node->selected);
  EXPECT_EQ(node->ChildTexts(), (std::vector<std::string>{"sub", "Zeta"}));
  VakoProcess::SaveScreenshot(ScreenshotPath("en-stacked-unconnected"));

  // Enter by double click, up by Backspace, across by the tree.
  DoubleClickRow(panes.localList, "sub");
  ASSERT_TRUE(WaitForCaption(panes.localLabel, LocalFolder() + "\\sub"));
  EXPECT_EQ(vako->Names(panes.localList), (std::vector<std::string>{"..", "inner"}));
  vako->PressKey(panes.localList, VK_BACK);
  ASSERT_TRUE(WaitForCaption(panes.localLabel, LocalFolder()));
  tree = vako->Tree(panes.localTree);
  node = tree.Child("MyComputer");
  for (const std::string& part : parts) {
    for (const TreeNodeView& c : node->children)
      if (lstrcmpiA(c.text.c_str(), part.c_str()) == 0) node = &c;
  }
  ClickTreeItem(panes.localTree, node->Child("Zeta"));
  ASSERT_TRUE(WaitForCaption(panes.localLabel, LocalFolder() + "\\Zeta"));
  EXPECT_EQ(vako->Names(panes.localList), std::vector<std::string>{".."});

  // Go to Folder on the local side.
  vako->PostCommand(IDM_GOTO_FOLDER);
  HWND go = vako->WaitForDialog(20000, "Go to Folder");
  ASSERT_NE(go, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(go, IDC_FOLDER_FIELD)), LocalFolder() + "\\Zeta");
  VakoProcess::SetItemText(go, IDC_FOLDER_FIELD, LocalFolder());
  VakoProcess::PressButton(go, IDOK);
  ASSERT_TRUE(WaitForCaption(panes.localLabel, LocalFolder()));

  // Enter on a selected folder opens it; F5 shows a new file.
  vako->SelectRow(panes.localList, vako->RowOfName(panes.localList, "sub"));
  vako->PressKey(panes.localList, VK_RETURN);
  ASSERT_TRUE(WaitForCaption(panes.localLabel, LocalFolder() + "\\sub"));
  WriteWholeFile(local.path() + "sub\\fresh.txt", "f");
  vako->PressKey(panes.localList, VK_F5);
  ASSERT_TRUE(WaitForRow(panes.localList, "fresh.txt"));
  vako->PressKey(panes.localList, VK_BACK);
  ASSERT_TRUE(WaitForCaption(panes.localLabel, LocalFolder()));

  // In-place rename; a name that exists already is refused and the row stays.
  ASSERT_TRUE(vako->BeginEdit(panes.localList, vako->RowOfName(panes.localList, "a.txt")));
  ASSERT_TRUE(vako->FinishEdit(panes.localList, "b.txt"));
  ASSERT_TRUE(WaitForRow(panes.localList, "b.txt"));
  EXPECT_TRUE(FileExists(local.path() + "b.txt"));
  EXPECT_FALSE(FileExists(local.path() + "a.txt"));
  ASSERT_TRUE(vako->BeginEdit(panes.localList, vako->RowOfName(panes.localList, "b.txt")));
  ASSERT_TRUE(vako->FinishEdit(panes.localList, "ro.txt"));
  EXPECT_EQ(AnswerBox(), "Failed to rename");
  EXPECT_GE(vako->RowOfName(panes.localList, "b.txt"), 0);
  EXPECT_TRUE(FileExists(local.path() + "b.txt"));
  // While a name is edited, Delete belongs to the edit field: no Delete command, no question.
  ASSERT_TRUE(vako->BeginEdit(panes.localList, vako->RowOfName(panes.localList, "b.txt")));
  HWND edit = reinterpret_cast<HWND>(SendMessageA(panes.localList, LVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(edit, nullptr);
  vako->PressKey(edit, VK_DELETE);
  vako->PressKey(edit, VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(edit); }));
  EXPECT_TRUE(WindowsOfProcess(vako->processId(), "#32770").empty());
  EXPECT_TRUE(FileExists(local.path() + "b.txt"));
  // Keys reach the accelerators again once the edit has ended.
  vako->PressKey(panes.localList, VK_F5);
  WriteWholeFile(local.path() + "late.txt", "l");
  vako->PressKey(panes.localList, VK_F5);
  ASSERT_TRUE(WaitForRow(panes.localList, "late.txt"));

  // Select All leaves ".." alone; Invert Items then selects only "..".
  ASSERT_TRUE(vako->SendCommand(IDM_SELECT_ALL));
  for (const ListRowView& r : vako->Rows(panes.localList)) EXPECT_EQ(r.selected, r.name() != "..") << r.name();
  ASSERT_TRUE(vako->SendCommand(IDM_INVERT_ITEMS));
  for (const ListRowView& r : vako->Rows(panes.localList)) EXPECT_EQ(r.selected, r.name() == "..") << r.name();
}

TEST_F(PanesTest, SortsBothListsByEveryColumnBothWays) {
  // The view buttons tell which pane is active: the local list shows a list, the remote
  // one details.
  Start({PortSetting("VAKO_PYFTPD_PORT"), "LocalListType=40003", "SortTypeRemote=40023", "SortTypeLocal=40023"});
  auto activate = [&](HWND list) {
    const int button = list == panes.remoteList ? IDM_DETAILS : IDM_LIST;
    if (vako->ButtonState(button) != 6) vako->PressKey(list == panes.remoteList ? panes.localList : panes.remoteList, VK_TAB);
    return WaitUntil([&] { return vako->ButtonState(button) == 6; });
  };
  Connect(testenv::Get("VAKO_FTP_PASS"));
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, "/"));
  ASSERT_TRUE(WaitForRow(panes.remoteList, "with space.txt"));
  const std::vector<std::string> byName = {"..",    "docs",     "empty",     "link",     "pub",
                                           "a.txt", "data.bin", "photo.jpg", "textlink", "with space.txt"};
  const std::vector<std::string> bySize = {"..",       "docs",  "empty",     "link",    "pub",
                                           "with space.txt", "textlink", "a.txt", "photo.jpg", "data.bin"};
  EXPECT_EQ(vako->Names(panes.remoteList), byName);

  for (HWND list : {panes.remoteList, panes.localList}) {
    // The commands act on the active pane.
    ASSERT_TRUE(activate(list));
    for (int column = 0; column < 5; ++column) {
      SCOPED_TRACE("column " + std::to_string(column));
      ASSERT_TRUE(vako->SendCommand(IDM_SORT_NAME + column));
      ASSERT_TRUE(vako->SendCommand(IDM_ASCENDING));
      EXPECT_TRUE(SortedBy(vako->Rows(list), column, false));
      ASSERT_TRUE(vako->SendCommand(IDM_DESCENDING));
      EXPECT_TRUE(SortedBy(vako->Rows(list), column, true));
    }
  }
  // The known orders of the remote rows by name and by size, both ways.
  ASSERT_TRUE(activate(panes.remoteList));
  ASSERT_TRUE(vako->SendCommand(IDM_SORT_SIZE));
  ASSERT_TRUE(vako->SendCommand(IDM_ASCENDING));
  EXPECT_EQ(vako->Names(panes.remoteList), bySize);
  ASSERT_TRUE(vako->SendCommand(IDM_DESCENDING));
  EXPECT_EQ(vako->Names(panes.remoteList), Reversed(bySize));
  ASSERT_TRUE(vako->SendCommand(IDM_SORT_NAME));
  EXPECT_EQ(vako->Names(panes.remoteList), Reversed(byName));

  // A click on a column header sorts by that column and flips only its own pane's
  // direction; "No Sorting" leaves the rows where they are.
  RECT sizeHeader = vako->HeaderItemRect(panes.remoteList, 1);
  vako->Click(vako->Header(panes.remoteList), POINT{(sizeHeader.left + sizeHeader.right) / 2, 4});
  ASSERT_TRUE(WaitUntil([&] { return vako->Names(panes.remoteList) == bySize; }));
  Sleep(GetDoubleClickTime() + 100);  // a second click, not a double click
  vako->Click(vako->Header(panes.remoteList), POINT{(sizeHeader.left + sizeHeader.right) / 2 + 8, 4});
  ASSERT_TRUE(WaitUntil([&] { return vako->Names(panes.remoteList) == Reversed(bySize); }));
  ASSERT_TRUE(vako->SendCommand(IDM_SORT_NONE));
  EXPECT_EQ(vako->Names(panes.remoteList), Reversed(bySize));
  EXPECT_EQ(vako->Close(), 0);
  vako.reset();
  std::string ini = ReadWholeFile(program.path() + "vako.ini");
  EXPECT_NE(ini.find("SortTypeRemote=40028"), std::string::npos);
  EXPECT_NE(ini.find("SortSubRemote=1"), std::string::npos);
  EXPECT_NE(ini.find("SortTypeLocal=40027"), std::string::npos);
  EXPECT_NE(ini.find("SortSub=1"), std::string::npos);
}

TEST_F(PanesTest, ViewsActivePaneToolbarAndTrees) {
  Start({"LocalListType=40003", "Sync=0", "Auto=1"});
  HWND toolbar = vako->Child(2031);
  ASSERT_NE(toolbar, nullptr);
  auto view = [](HWND list) { return GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK; };
  EXPECT_EQ(view(panes.localList), LVS_LIST);
  EXPECT_EQ(view(panes.remoteList), LVS_REPORT);
  EXPECT_EQ(vako->ButtonState(IDM_LIST), 6);
  EXPECT_EQ(vako->ButtonState(IDM_DETAILS), 4);
  EXPECT_EQ(vako->ButtonState(IDM_AUTO_DETECT), 6);
  EXPECT_EQ(vako->ButtonState(IDM_SYNCHRONIZE), 4);

  // Tab makes the other pane active and gives it the focus; twice comes back.
  vako->PressKey(panes.localList, VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return vako->Focus() == panes.remoteList; }));
  EXPECT_EQ(vako->ButtonState(IDM_DETAILS), 6);
  EXPECT_EQ(vako->ButtonState(IDM_LIST), 4);
  // The view commands act on the active (remote) list only.
  for (int id = IDM_LARGE_ICONS; id <= IDM_DETAILS; ++id) {
    ASSERT_TRUE(vako->SendCommand(id));
    EXPECT_EQ(view(panes.remoteList), static_cast<LONG>(id == IDM_LARGE_ICONS ? LVS_ICON
                                                        : id == IDM_SMALL_ICONS ? LVS_SMALLICON
                                                        : id == IDM_LIST        ? LVS_LIST
                                                                                : LVS_REPORT));
    for (int other = IDM_LARGE_ICONS; other <= IDM_DETAILS; ++other)
      EXPECT_EQ(vako->ButtonState(other), other == id ? 6 : 4);
  }
  EXPECT_EQ(view(panes.localList), LVS_LIST);
  vako->PressKey(panes.remoteList, VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return vako->Focus() == panes.localList; }));
  EXPECT_EQ(vako->ButtonState(IDM_LIST), 6);

  // The toolbar goes and comes back; everything below it moves by its height.
  const RECT labelWith = vako->ChildRect(panes.localLabel);
  EXPECT_EQ(labelWith.top, 32);
  ASSERT_TRUE(vako->SendCommand(IDM_TOOLBAR));
  EXPECT_EQ(vako->Child(2031), nullptr);
  EXPECT_EQ(vako->ChildRect(panes.localLabel).top, 0);
  EXPECT_EQ(vako->ChildRect(panes.remoteList).top, vako->ChildRect(panes.localList).top + 128 + 2);
  ASSERT_TRUE(vako->SendCommand(IDM_TOOLBAR));
  ASSERT_NE(vako->Child(2031), nullptr);
  EXPECT_EQ(vako->ChildRect(panes.localLabel).top, 32);
  EXPECT_EQ(vako->ButtonState(IDM_AUTO_DETECT), 6);
  EXPECT_EQ(vako->ButtonState(IDM_SYNCHRONIZE), 4);
  EXPECT_EQ(vako->ButtonState(IDM_LIST), 6);

  // Synchronize and Auto Detect are toggle buttons.
  ASSERT_TRUE(vako->SendCommand(IDM_SYNCHRONIZE));
  EXPECT_EQ(vako->ButtonState(IDM_SYNCHRONIZE), 6);
  ASSERT_TRUE(vako->SendCommand(IDM_AUTO_DETECT));
  EXPECT_EQ(vako->ButtonState(IDM_AUTO_DETECT), 4);
  // Hidden and shown again, the toolbar keeps Auto Detect off.
  ASSERT_TRUE(vako->SendCommand(IDM_TOOLBAR));
  ASSERT_TRUE(vako->SendCommand(IDM_TOOLBAR));
  EXPECT_EQ(vako->ButtonState(IDM_AUTO_DETECT), 4);
  EXPECT_EQ(vako->ButtonState(IDM_SYNCHRONIZE), 6);

  // Without the trees the lists take their place.
  EXPECT_EQ(vako->ChildRect(panes.localList).left, 180);
  ASSERT_TRUE(vako->SendCommand(IDM_TREE_VIEW));
  EXPECT_EQ(vako->ChildRect(panes.localList).left, 0);
  EXPECT_EQ(vako->ChildRect(panes.localTree).right - vako->ChildRect(panes.localTree).left, 0);
  ASSERT_TRUE(vako->SendCommand(IDM_TREE_VIEW));
  EXPECT_EQ(vako->ChildRect(panes.localList).left, 180);

  // A press on the local caption strip makes the local pane active (stacked arrangement).
  vako->PressKey(panes.localList, VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_DETAILS) == 6; }));
  vako->Click(vako->window(), POINT{50, 32 + 8});
  ASSERT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_LIST) == 6; }));
  EXPECT_EQ(vako->Close(), 0);
  vako.reset();
  std::string ini = ReadWholeFile(program.path() + "vako.ini");
  EXPECT_NE(ini.find("RemoteListType=40004"), std::string::npos);
  EXPECT_NE(ini.find("Sync=1"), std::string::npos);
  EXPECT_NE(ini.find("Auto=0"), std::string::npos);
}

TEST_F(PanesTest, SplitBarsMoveThePanes) {
  // Stacked: the bar between the panes lies in the gap below the local list.
  Start({"WindowRight=832", "WindowBottom=632"});
  RECT list = vako->ChildRect(panes.localList);
  RECT label = vako->ChildRect(panes.remoteLabel);
  ASSERT_EQ(label.top, 32 + 128 + 1);
  vako->Drag(vako->window(), POINT{200, list.bottom}, POINT{200, list.bottom + 60});
  // Released at y, the split becomes y + 2 - T.
  const int split = list.bottom + 60 + 2 - 32;
  ASSERT_TRUE(WaitUntil([&] { return vako->ChildRect(panes.remoteLabel).top == 32 + split + 1; }));
  // The tree bar of the remote pane.
  RECT tree = vako->ChildRect(panes.remoteTree);
  vako->Drag(vako->window(), POINT{tree.right, tree.top + 20}, POINT{tree.right + 50, tree.top + 20});
  const int tr = tree.right + 50 - 2;
  ASSERT_TRUE(WaitUntil([&] { return vako->ChildRect(panes.remoteList).left == tr; }));
  EXPECT_EQ(vako->Close(), 0);
  vako.reset();
  std::string ini = ReadWholeFile(program.path() + "vako.ini");
  EXPECT_NE(ini.find("WindowSplitPos2=" + std::to_string(split) + "\r\n"), std::string::npos);
  EXPECT_NE(ini.find("TR=" + std::to_string(tr) + "\r\n"), std::string::npos);

  // Side by side: the bar between the panes lies in the gap left of the remote pane.
  Start({"WindowDiv=0", "WindowSplitPos=400", "WindowRight=832", "WindowBottom=632"});
  EXPECT_EQ(vako->ChildRect(panes.remoteLabel).left, 400);
  VakoProcess::SaveScreenshot(ScreenshotPath("en-side-by-side-unconnected"));
  vako->Drag(vako->window(), POINT{399, 200}, POINT{520, 200});
  ASSERT_TRUE(WaitUntil([&] { return vako->ChildRect(panes.remoteLabel).left == 521; }));
  // Released far to the left, the split stops at the local tree's width plus 8.
  vako->Drag(vako->window(), POINT{520, 200}, POINT{20, 200});
  ASSERT_TRUE(WaitUntil([&] { return vako->ChildRect(panes.remoteLabel).left == 188; }));
  EXPECT_EQ(vako->Close(), 0);
}

TEST_F(PanesTest, SideBySideConnectedScreenshot) {
  Start({PortSetting("VAKO_PYFTPD_PORT"), "WindowDiv=0", "WindowSplitPos=400", "WindowRight=832",
         "WindowBottom=632"});
  Connect(testenv::Get("VAKO_FTP_PASS"));
  ASSERT_TRUE(WaitForRow(panes.remoteList, "with space.txt"));
  RECT remote = vako->ChildRect(panes.remoteList);
  EXPECT_EQ(remote.left, 400 + 180);
  VakoProcess::SaveScreenshot(ScreenshotPath("en-side-by-side-connected"));
}

}  // namespace
}  // namespace browsing
