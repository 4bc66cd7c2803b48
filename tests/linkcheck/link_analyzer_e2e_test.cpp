// The link analyzer through the real program: HTML files selected in the local list,
// command 40094, and the dialog lists their links with the missing targets marked. Run in
// the Japanese edition, so a Shift-JIS name passes through the local list and the dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "linkcheck/sample_site_win.h"
#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/test_env.h"

TEST(LinkAnalyzerEndToEnd, SelectedPagesInTheLocalListShowTheirLinks) {
  ASSERT_EQ(GetACP(), 932u);
  linkcheck_test::SampleSite site;
  TempFolder program;
  WriteWholeFile(program.path() + "vako.ini", "[Vako]\r\nInitialLocalFolder=" + site.Folder() + "\r\nYesNo=0\r\nOK=0\r\n");
  VakoProcess vako(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program.path());
  ASSERT_TRUE(vako.started());
  ASSERT_NE(vako.WaitForMainWindow(), nullptr);
  HWND localList = vako.Child(2000);
  ASSERT_TRUE(WaitUntil([&] { return vako.RowOfName(localList, "index.html") >= 0; }));
  EXPECT_GE(vako.RowOfName(localList, linkcheck_test::kSjisPage), 0);
  // the rows come in the local list's order: about.html is scanned first
  ASSERT_TRUE(vako.SelectNames(localList, {"index.html", "about.html"}));
  vako.PostCommand(IDM_LINK_ANALYZER);
  HWND dialog = vako.WaitForDialog(20000, "\x83\x8a\x83\x93\x83\x4e\x89\xf0\x90\xcd");  // "link analysis"
  ASSERT_NE(dialog, nullptr);
  std::vector<linkcheck_test::SiteRow> shown;
  for (const ListRowView& row : vako.Rows(GetDlgItem(dialog, IDC_LINK_LIST)))
    shown.push_back({row.column[0], row.column[1], row.column[2], row.column[3]});
  EXPECT_EQ(shown, site.ExpectedRows("OK", "NG"));
  VakoProcess::PressButton(dialog, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(vako.Close(), 0);  // the program goes on and closes normally
}
