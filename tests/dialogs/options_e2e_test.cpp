// The Options sheet in the real program: what OK changes shows at once, is written to
// vako.ini at exit, and is what the program and the sheet show after a restart.
#include "support/program_fixture_win.h"  // windows.h first

#include "dialog_driver_win.h"
#include "profile_keys_win.h"

namespace {

void SetCheck(HWND page, int id, bool on) { SendDlgItemMessageA(page, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

class OptionsEndToEnd : public ProgramTest {
 protected:
  // Starts the program and waits for the layout the options ask for: the panes side by
  // side or stacked, and the toolbar flat or not.
  HWND StartAndOpenTheSheet(int arrangement, bool flat) {
    Launch();
    EXPECT_TRUE(WaitUntil([&] { return Layout() == std::make_pair(arrangement, flat); }));
    vako->PostCommand(IDM_OPTIONS);
    return vako->WaitForDialog(20000, "Options");
  }
  // Side by side or stacked (neither before the window has laid itself out), flat toolbar.
  std::pair<int, bool> Layout() {
    RECT local = vako->ChildRect(vako->Child(2000)), remote = vako->ChildRect(vako->Child(2100));
    const int arrangement = remote.left >= local.right && remote.top < local.bottom   ? 1
                            : remote.top >= local.bottom && remote.left < local.right ? 0
                                                                                      : -1;
    return {arrangement, (GetWindowLongA(vako->Child(2031), GWL_STYLE) & 0x0800) != 0};  // TBSTYLE_FLAT
  }
  void Finish(HWND sheet, int button) {
    VakoProcess::PressButton(sheet, button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
  }
};

TEST_F(OptionsEndToEnd, ChangesShowAtOnceAreSavedAtExitAndComeBackAfterARestart) {
  WriteWholeFile(program.path() + "vako.ini",
                 "[Vako]\r\nInitialLocalFolder=" + local.path() + "\r\nWindowDiv=1\r\nYesNo=0\r\nOK=0\r\n");
  HWND sheet = StartAndOpenTheSheet(0, false);
  ASSERT_NE(sheet, nullptr);
  // Over the main window's middle, as the dialogs are, not at the screen's corner.
  RECT s, w;
  GetWindowRect(sheet, &s);
  GetWindowRect(vako->window(), &w);
  EXPECT_EQ(s.left, w.left + (w.right - w.left) / 2 - (s.right - s.left) / 2);
  EXPECT_EQ(s.top, w.top + (w.bottom - w.top) / 2 - (s.bottom - s.top) / 2);
  VakoProcess::SetItemText(ShowPage(sheet, 0), IDC_ASCII_TYPES, "txt;md;csv");
  VakoProcess::SetItemText(ShowPage(sheet, 1), IDC_OPTIONS_TIME_LAG, "400");
  SetCheck(ShowPage(sheet, 2), IDC_WINDOW_DIV, false);
  SetCheck(ShowPage(sheet, 2), IDC_TOOL_FLAT, true);
  VakoProcess::SetItemText(ShowPage(sheet, 6), IDC_RECEIVE_BUF, "8192");
  Finish(sheet, IDOK);
  // The window rearranges itself once the sheet has gone, without a restart.
  EXPECT_TRUE(WaitUntil([&] { return Layout() == std::make_pair(1, true); }));
  ASSERT_EQ(vako->Close(), 0);
  auto ini = ProfileKeys(program.path() + "vako.ini");
  EXPECT_EQ(ini["AsciiType"] + " " + ini["TimeLag"] + " " + ini["WindowDiv"] + " " + ini["ToolFlat"] + " " + ini["ReceiveBuf"],
            "txt;md;csv 359 0 2048 8192");

  sheet = StartAndOpenTheSheet(1, true);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(ShowPage(sheet, 0), IDC_ASCII_TYPES)), "txt;md;csv");
  EXPECT_EQ(WindowText(GetDlgItem(ShowPage(sheet, 1), IDC_OPTIONS_TIME_LAG)), "359");
  EXPECT_EQ(WindowText(GetDlgItem(ShowPage(sheet, 6), IDC_RECEIVE_BUF)), "8192");
  // Cancel rebuilds nothing and keeps what the sheet showed changed.
  SetCheck(ShowPage(sheet, 2), IDC_WINDOW_DIV, true);
  Finish(sheet, IDCANCEL);
  EXPECT_TRUE(WaitUntil([&] { return Layout().first == 1; }));
  ASSERT_EQ(vako->Close(), 0);
  EXPECT_EQ(ProfileKeys(program.path() + "vako.ini")["WindowDiv"], "0");
}

}  // namespace
