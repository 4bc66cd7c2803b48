// The link analyzer through the real program: HTML files selected in the local list,
// command 40094, and the dialog lists their links with the missing targets marked; a click
// on a heading sorts by its column, and opening a link to a program asks first. Run in the
// Japanese edition, so a Shift-JIS name passes through the local list and the dialog.
#include "support/case_table.h"
#include "support/program_fixture_win.h"

namespace {

using SiteRow = std::vector<std::string>;  // link, tag, file, availability
const char kSjisPage[] = "\x95\x5c\x8e\xa6.html";  // a second byte 0x5C

// The sample site in the folder; answers the folder as the local pane has it.
std::string MakeSite(const TempFolder& folder) {
  for (const Case& entry : ReadCases("linkcheck/data/site_pages.tsv")) {
    std::string path = folder.path() + entry[0];
    std::replace(path.begin(), path.end(), '/', '\\');
    if (entry.size() == 1)
      CreateDirectoryA(path.c_str(), nullptr);
    else
      WriteWholeFile(path, entry[1]);
  }
  return folder.path().substr(0, folder.path().size() - 1);
}

TEST_F(ProgramTest, LinkAnalyzerShowsTheLinksOfTheSelectedPagesAndHeadingsSortThem) {
  ASSERT_EQ(GetACP(), 932u);
  const std::string site = MakeSite(local);
  Start({"InitialLocalFolder=" + site});
  ASSERT_TRUE(WaitForRow(panes.localList, "index.html"));
  EXPECT_GE(vako->RowOfName(panes.localList, kSjisPage), 0);
  // the rows come in the local list's order: about.html is scanned first; notes.txt is not
  // selected and vanished.html cannot be read: neither adds anything
  ASSERT_TRUE(vako->SelectNames(panes.localList, {"index.html", "about.html", "vanished.html"}));
  DeleteFileA((site + "\\vanished.html").c_str());
  vako->PostCommand(IDM_LINK_ANALYZER);
  HWND dialog = vako->WaitForDialog(20000, "\x83\x8a\x83\x93\x83\x4e\x89\xf0\x90\xcd");  // "link analysis"
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, IDC_LINK_LIST);
  auto rows = [&] {
    std::vector<SiteRow> shown;
    for (const ListRowView& row : vako->Rows(list)) shown.push_back({row.column[0], row.column[1], row.column[2], row.column[3]});
    return shown;
  };
  std::vector<SiteRow> expected = ReadCases("linkcheck/data/site_rows.tsv");
  EXPECT_EQ(rows(), expected);
  EXPECT_EQ(WindowsOfProcess(vako->processId(), "#32770").size(), 1u) << "no message about vanished.html";

  // Each heading sorts ascending by its column, a second click the same way; rows stay whole.
  std::sort(expected.begin(), expected.end());
  for (int c : {3, 0, 1, 2, 2}) {
    vako->Click(vako->Header(list), Center(vako->HeaderItemRect(list, c)));
    // The click sorts on the dialog's own time; cells read while it runs may come from
    // different rows, so wait for a reading that is sorted and whole.
    std::vector<SiteRow> sorted;
    EXPECT_TRUE(WaitUntil([&] {
      std::vector<SiteRow> shown = rows();
      for (size_t i = 1; i < shown.size(); ++i)
        if (lstrcmpiA(shown[i - 1][c].c_str(), shown[i][c].c_str()) > 0) return false;
      sorted = shown;
      std::sort(sorted.begin(), sorted.end());
      return sorted == expected;
    })) << "column " << c;
    EXPECT_EQ(sorted, expected) << "column " << c;
  }

  // Opening a link to a program asks first; No leaves it unrun and the dialog open.
  const int runRow = vako->RowOfName(list, "run.bat");
  ASSERT_GE(runRow, 0);
  vako->SelectRows(list, {runRow});
  PostMessageA(dialog, WM_COMMAND, IDM_OPEN_URL, 0);
  HWND box = vako->WaitForDialog(20000, VAKO_CAPTION);
  ASSERT_NE(box, nullptr) << "run.bat opened without a question";
  EXPECT_EQ(VakoProcess::BoxText(box), ResourceText(IDS_ASK_RUN_LINKED_PROGRAM, "run.bat"));
  VakoProcess::PressButton(box, IDNO);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_TRUE(IsWindow(dialog));
  VakoProcess::PressButton(dialog, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
}

}  // namespace
