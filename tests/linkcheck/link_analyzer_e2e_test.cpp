// The link analyzer through the real program: HTML files selected in the local list,
// command 40094, and the dialog lists their links with the missing targets marked; a click
// on a heading sorts by its column. Run in the Japanese edition, so a Shift-JIS name passes
// through the local list and the dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/case_table.h"
#include "support/test_env.h"
#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"

namespace {

using SiteRow = std::vector<std::string>;  // link, tag, file, availability
const char kSjisPage[] = "\x95\x5c\x8e\xa6.html";  // a second byte 0x5C

// A small web site whose links partly exist, and a page that will be gone when it is read.
std::string MakeSite(const TempFolder& folder) {
  const std::string& p = folder.path();
  CreateDirectoryA((p + "img").c_str(), nullptr);
  CreateDirectoryA((p + "docs").c_str(), nullptr);
  WriteWholeFile(p + "index.html",
                 "<html><head><title>Sample</title></head>\r\n<body background=\"img/bg.gif\">\r\n"
                 "<a href=\"about.html\">About</a> <a href=\"missing.html#top\">Missing</a>\r\n"
                 "<img src=\"img/logo.gif\"> <IMG SRC=img/gone.gif>\r\n"
                 "<a href=\"docs/\">Docs</a> <a href=\"http://www.example.com/\">Web</a>\r\n"
                 "<a href=\"mailto:webmaster@example.com\">Mail</a> <a href=\"run.bat\">Run</a>\r\n"
                 "<a href=\"" + std::string(kSjisPage) + "\">\x95\x5c\x8e\xa6</a>\r\n</body></html>\r\n");
  WriteWholeFile(p + "about.html",
                 "<HTML><BODY><A HREF=\"index.html\">Home</A>\r\n"
                 "<a href = nowhere/>Nowhere</a><table background=img/table.gif></table></BODY></HTML>\r\n");
  WriteWholeFile(p + "notes.txt", "<a href=\"notes-link.html\">");
  WriteWholeFile(p + "vanished.html", "<a href=\"gone.html\">");
  for (const char* file : {"img\\bg.gif", "img\\logo.gif", "docs\\index.html", "run.bat", kSjisPage}) WriteWholeFile(p + file, "x");
  return p.substr(0, p.size() - 1);  // as the local pane has it
}

TEST(LinkAnalyzerEndToEnd, SelectedPagesInTheLocalListShowTheirLinksAndHeadingsSortThem) {
  ASSERT_EQ(GetACP(), 932u);
  TempFolder siteFolder, program;
  const std::string site = MakeSite(siteFolder);
  WriteWholeFile(program.path() + "vako.ini", "[Vako]\r\nInitialLocalFolder=" + site + "\r\nYesNo=0\r\nOK=0\r\n");
  VakoProcess vako(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program.path());
  ASSERT_TRUE(vako.started());
  ASSERT_NE(vako.WaitForMainWindow(), nullptr);
  HWND localList = vako.Child(2000);
  ASSERT_TRUE(WaitUntil([&] { return vako.RowOfName(localList, "index.html") >= 0; }));
  EXPECT_GE(vako.RowOfName(localList, kSjisPage), 0);
  // the rows come in the local list's order: about.html is scanned first; notes.txt is not
  // selected and vanished.html cannot be read: neither adds anything
  ASSERT_TRUE(vako.SelectNames(localList, {"index.html", "about.html", "vanished.html"}));
  DeleteFileA((site + "\\vanished.html").c_str());
  vako.PostCommand(IDM_LINK_ANALYZER);
  HWND dialog = vako.WaitForDialog(20000, "\x83\x8a\x83\x93\x83\x4e\x89\xf0\x90\xcd");  // "link analysis"
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, IDC_LINK_LIST);
  auto rows = [&] {
    std::vector<SiteRow> shown;
    for (const ListRowView& row : vako.Rows(list)) shown.push_back({row.column[0], row.column[1], row.column[2], row.column[3]});
    return shown;
  };
  std::vector<SiteRow> expected = ReadCases("linkcheck/data/site_rows.tsv");
  EXPECT_EQ(rows(), expected);
  EXPECT_EQ(WindowsOfProcess(vako.processId(), "#32770").size(), 1u) << "no message about vanished.html";

  // Each heading sorts ascending by its column, a second click the same way; rows stay whole.
  std::sort(expected.begin(), expected.end());
  for (int c : {3, 0, 1, 2, 2}) {
    RECT r = vako.HeaderItemRect(list, c);
    vako.Click(vako.Header(list), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
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
  VakoProcess::PressButton(dialog, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(vako.Close(), 0);  // the program goes on and closes normally
}

}  // namespace
