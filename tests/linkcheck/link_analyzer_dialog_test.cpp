// The link analyzer dialog in-process, over a stand-in main window with a real local list
// and status bar: the rows of a sample site, columns and texts of the edition (English, or
// Japanese under code page 932), and sorting.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "dialogs/dialog_driver_win.h"
#include "linkcheck/link_analyzer_dialog_win.h"
#include "linkcheck/sample_site_win.h"
#include "resources/resource_ids.h"
#include "support/message_box_recorder_win.h"

namespace {

using linkcheck_test::JapaneseEdition;
using linkcheck_test::SiteRow;

std::string CellText(HWND list, int row, int column) {
  char text[2048] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

std::vector<SiteRow> RowsOf(HWND list) {
  std::vector<SiteRow> rows;
  for (int row = 0; row < static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); ++row)
    rows.push_back({CellText(list, row, 0), CellText(list, row, 1), CellText(list, row, 2), CellText(list, row, 3)});
  return rows;
}

// The status bar's texts as they are set, in order.
std::vector<std::string> statusTexts;
WNDPROC statusProcedure = nullptr;
LRESULT CALLBACK RecordStatus(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SB_SETTEXTA && (wParam & 0xFF) == 0) statusTexts.push_back(reinterpret_cast<const char*>(lParam));
  return CallWindowProcA(statusProcedure, window, message, wParam, lParam);
}

void ClickHeader(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT r{};
  SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(header, WM_LBUTTONUP, 0, at);
}

class LinkAnalyzer : public ::testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryA(sizeof savedFolder_, savedFolder_);
    CurrentLocalFolder = site_.Folder();
    LocalList = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 200, main_.handle(),
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = 200;
    SendMessageA(LocalList, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    StatusBar = CreateWindowA(STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, main_.handle(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    statusTexts.clear();
    statusProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(StatusBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordStatus)));
  }
  void TearDown() override {
    DestroyWindow(LocalList);
    DestroyWindow(StatusBar);
    LocalList = StatusBar = nullptr;
    SetCurrentDirectoryA(savedFolder_);
  }

  // The local list's rows by name, those named in `selected` selected.
  void ListFiles(const std::vector<std::string>& names, const std::set<std::string>& selected) {
    for (size_t i = 0; i < names.size(); ++i) {
      LVITEMA item{};
      item.mask = LVIF_TEXT | LVIF_STATE;
      item.iItem = static_cast<int>(i);
      item.pszText = const_cast<char*>(names[i].c_str());
      item.stateMask = LVIS_SELECTED;
      item.state = selected.count(names[i]) ? LVIS_SELECTED : 0;
      SendMessageA(LocalList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
  }

  // The analyzer reads in the local pane's folder, not in the process's current one.
  char savedFolder_[MAX_PATH] = "";
  StandInMainWindow main_{-30, 20, 777, 533};
  linkcheck_test::SampleSite site_;
  MessageBoxRecorder boxes_;
};

TEST_F(LinkAnalyzer, ListsTheLinksOfTheSelectedFilesWithTheEditionsTexts) {
  // vanished.html cannot be opened: it adds nothing and says nothing; notes.txt is not selected
  ListFiles({"..", "about.html", "index.html", "notes.txt", "vanished.html"},
            {"about.html", "index.html", "vanished.html"});
  const bool ja = JapaneseEdition();
  std::vector<SiteRow> shown;
  DialogDriver driver({[&](HWND d) {
    EXPECT_EQ(Text(d), ja ? InCodePage(u8"リンク解析") : "Link Analyzer");
    EXPECT_NE(FindChildWithText(d, ja ? InCodePage(u8"選択した HTML ファイルのハイパーリンクを解析し、リンク切れを調べます")
                                      : "Analyze hyper links in selected HTML files and check dead links"),
              nullptr);
    HWND list = GetDlgItem(d, IDC_LINK_LIST);
    ASSERT_NE(list, nullptr);
    const char* const headings[2][4] = {{"Link", "Tag", "File Name", "Availability"},
                                        {u8"リンク", u8"タグ", u8"ファイル名", u8"有無"}};
    const int widths[4] = {300, 32, 88, 42};
    for (int c = 0; c < 4; ++c) {
      char heading[64] = "";
      LVCOLUMNA column{};
      column.mask = LVCF_TEXT;
      column.pszText = heading;
      column.cchTextMax = sizeof heading;
      ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column)));
      EXPECT_EQ(heading, InCodePage(headings[ja][c]));
      EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0), widths[c]);
    }
    shown = RowsOf(list);
    Click(d, IDOK);
  }});
  EXPECT_EQ(AnalyzeLinks(main_.handle()), 1);
  EXPECT_EQ(shown, site_.ExpectedRows("OK", "NG"));
  EXPECT_TRUE(boxes_.boxes().empty());
  // "Analyzing..." while the files are read, an empty status afterwards
  EXPECT_EQ(statusTexts, (std::vector<std::string>{ja ? InCodePage(u8"解析しています...") : "Analyzing...", ""}));
}

TEST_F(LinkAnalyzer, HeadingsSortAscendingByTheirColumnAndRowsStayWhole) {
  ListFiles({"about.html", "index.html"}, {"about.html", "index.html"});
  DialogDriver driver({[&](HWND d) {
    HWND list = GetDlgItem(d, IDC_LINK_LIST);
    std::vector<SiteRow> before = RowsOf(list);
    ASSERT_FALSE(before.empty());
    std::sort(before.begin(), before.end());
    std::string SiteRow::*columns[4] = {&SiteRow::link, &SiteRow::tag, &SiteRow::file, &SiteRow::availability};
    for (int c : {3, 0, 1, 2, 0, 3, 3}) {  // a second click sorts the same way again
      ClickHeader(list, c);
      std::vector<SiteRow> rows = RowsOf(list);
      for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(lstrcmpiA((rows[i - 1].*columns[c]).c_str(), (rows[i].*columns[c]).c_str()), 0) << c << "/" << i;
      std::sort(rows.begin(), rows.end());
      EXPECT_EQ(rows, before) << "column " << c;
    }
    SendMessageA(d, WM_COMMAND, IDCANCEL, 0);  // the close box and Escape
  }});
  EXPECT_EQ(AnalyzeLinks(main_.handle()), 0);
}

}  // namespace
