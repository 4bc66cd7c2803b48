// The Options sheet in the real program: what OK changes shows at once, is written to
// vako.ini at exit, and is what the sheet shows after a restart.
#include <gtest/gtest.h>

#include "support/e2e_driver_win.h"  // windows.h first

#include <prsht.h>

#include "profile_keys_win.h"
#include "resources/resource_ids.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

constexpr int kToolbarId = 2031;
constexpr int kLocalListId = 2000, kRemoteListId = 2100;

std::string ProgramPath() { return testenv::WinePath(::testing::internal::GetArgvs().at(1)); }

HWND Page(HWND sheet, int index) {
  SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}
std::string Field(HWND page, int id) { return WindowText(GetDlgItem(page, id)); }
bool Checked(HWND page, int id) { return SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetCheck(HWND page, int id, bool on) {
  SendMessageA(GetDlgItem(page, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

class OptionsEndToEnd : public ::testing::Test {
 protected:
  void Start() {
    vako_.reset(new VakoProcess(ProgramPath(), program_.path()));
    ASSERT_TRUE(vako_->started());
    ASSERT_NE(vako_->WaitForMainWindow(), nullptr);
  }
  HWND OpenSheet() {
    vako_->PostCommand(IDM_OPTIONS);
    return vako_->WaitForDialog(20000, "Options");
  }
  void Finish(HWND sheet, int button) {
    VakoProcess::PressButton(sheet, button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
  }
  bool SideBySide() {
    RECT local = vako_->ChildRect(vako_->Child(kLocalListId)), remote = vako_->ChildRect(vako_->Child(kRemoteListId));
    return remote.left >= local.right && remote.top < local.bottom;
  }
  bool Stacked() {
    RECT local = vako_->ChildRect(vako_->Child(kLocalListId)), remote = vako_->ChildRect(vako_->Child(kRemoteListId));
    return remote.top >= local.bottom && remote.left < local.right;
  }
  bool FlatToolbar() {
    HWND toolbar = vako_->Child(kToolbarId);
    return toolbar && (GetWindowLongA(toolbar, GWL_STYLE) & 0x0800);  // TBSTYLE_FLAT
  }

  TempFolder program_, local_;
  std::unique_ptr<VakoProcess> vako_;
};

TEST_F(OptionsEndToEnd, ChangesShowAtOnceAreSavedAtExitAndComeBackAfterARestart) {
  WriteWholeFile(program_.path() + "vako.ini",
                 "[Vako]\r\nInitialLocalFolder=" + local_.path() + "\r\nWindowDiv=1\r\nYesNo=0\r\nOK=0\r\n");
  Start();
  ASSERT_TRUE(WaitUntil([&] { return Stacked(); }));  // once the window has laid itself out
  EXPECT_FALSE(FlatToolbar());

  HWND sheet = OpenSheet();
  ASSERT_NE(sheet, nullptr);
  VakoProcess::SetItemText(Page(sheet, 0), IDC_ASCII_TYPES, "txt;md;csv");
  VakoProcess::SetItemText(Page(sheet, 1), IDC_OPTIONS_TIME_LAG, "400");
  HWND view = Page(sheet, 2);
  EXPECT_TRUE(Checked(view, IDC_WINDOW_DIV));
  SetCheck(view, IDC_WINDOW_DIV, false);
  SetCheck(view, IDC_TOOL_FLAT, true);
  HWND details = Page(sheet, 6);
  VakoProcess::SetItemText(details, IDC_RECEIVE_BUF, "8192");
  VakoProcess::SetItemText(details, IDC_SEND_BUF, "4096");
  Finish(sheet, IDOK);

  // The panes now stand side by side and the toolbar is flat, without a restart (the window
  // does it once the sheet has gone).
  EXPECT_TRUE(WaitUntil([&] { return SideBySide(); }));
  EXPECT_TRUE(WaitUntil([&] { return FlatToolbar(); }));
  VakoProcess::SaveScreenshot(testenv::Get("VAKO_BINARY_DIR") + "/screenshots/options-side-by-side.png");
  ASSERT_EQ(vako_->Close(), 0);

  auto ini = ProfileKeys(program_.path() + "vako.ini");
  EXPECT_EQ(ini["AsciiType"], "txt;md;csv");
  EXPECT_EQ(ini["TimeLag"], "359");
  EXPECT_EQ(ini["WindowDiv"], "0");
  EXPECT_EQ(ini["ToolFlat"], "2048");
  EXPECT_EQ(ini["ReceiveBuf"], "8192");
  EXPECT_EQ(ini["SendBuf"], "4096");

  Start();
  EXPECT_TRUE(WaitUntil([&] { return SideBySide(); }));
  EXPECT_TRUE(WaitUntil([&] { return FlatToolbar(); }));
  sheet = OpenSheet();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(Field(Page(sheet, 0), IDC_ASCII_TYPES), "txt;md;csv");
  EXPECT_EQ(Field(Page(sheet, 1), IDC_OPTIONS_TIME_LAG), "359");
  view = Page(sheet, 2);
  EXPECT_FALSE(Checked(view, IDC_WINDOW_DIV));
  EXPECT_TRUE(Checked(view, IDC_TOOL_FLAT));
  details = Page(sheet, 6);
  EXPECT_EQ(Field(details, IDC_RECEIVE_BUF), "8192");
  EXPECT_EQ(Field(details, IDC_SEND_BUF), "4096");
  // Cancel rebuilds nothing and keeps what the sheet showed changed.
  SetCheck(view, IDC_WINDOW_DIV, true);
  Finish(sheet, IDCANCEL);
  EXPECT_TRUE(WaitUntil([&] { return SideBySide(); }));
  ASSERT_EQ(vako_->Close(), 0);
  EXPECT_EQ(ProfileKeys(program_.path() + "vako.ini")["WindowDiv"], "0");
}

}  // namespace
