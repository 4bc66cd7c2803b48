// The link analyzer through the real program: HTML files selected in the local list,
// command 40094, and the dialog lists their links with the missing targets marked. Run in
// the Japanese edition, so a Shift-JIS name passes through the local list and the dialog.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "linkcheck/sample_site_win.h"
#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

using linkcheck_test::SampleSite;
using linkcheck_test::SiteRow;

std::string InCodePage(const wchar_t* text) {
  int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

TEST(LinkAnalyzerEndToEnd, SelectedPagesInTheLocalListShowTheirLinks) {
  ASSERT_EQ(GetACP(), 932u);
  SampleSite site;
  TempFolder program;
  WriteWholeFile(program.path() + "vako.ini", "[Vako]\r\nInitialLocalFolder=" + site.Folder() + "\r\nYesNo=0\r\nOK=0\r\n");
  VakoProcess vako(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program.path());
  ASSERT_TRUE(vako.started());
  ASSERT_NE(vako.WaitForMainWindow(), nullptr);
  HWND localList = vako.Child(2000);
  ASSERT_TRUE(WaitUntil([&] { return vako.RowOfName(localList, "index.html") >= 0; }));
  const int about = vako.RowOfName(localList, "about.html"), index = vako.RowOfName(localList, "index.html");
  ASSERT_GE(about, 0);
  // the rows come in the local list's order: about.html is scanned first
  ASSERT_LT(about, index);
  EXPECT_GE(vako.RowOfName(localList, linkcheck_test::kSjisPage), 0);
  vako.SelectRows(localList, {index, about});

  vako.PostCommand(IDM_LINK_ANALYZER);
  HWND dialog = vako.WaitForDialog(20000, InCodePage(L"\x30ea\x30f3\x30af\x89e3\x6790"));  // "link analysis"
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, IDC_LINK_LIST);
  ASSERT_NE(list, nullptr);
  std::vector<SiteRow> shown;
  for (const ListRowView& row : vako.Rows(list))
    shown.push_back({row.column[0], row.column[1], row.column[2], row.column[3]});
  EXPECT_EQ(shown, site.ExpectedRows("OK", "NG"));
  VakoProcess::SaveScreenshot(testenv::Get("VAKO_BINARY_DIR") + "/screenshots/link-analyzer-e2e.png");
  VakoProcess::PressButton(dialog, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  // the program goes on: the local list is still there and the window closes normally
  EXPECT_GE(vako.RowOfName(localList, "index.html"), 0);
  EXPECT_EQ(vako.Close(), 0);
}

}  // namespace
