// Starts the real program under Wine and checks what a user and the disk see.
#include "dialogs/profile_keys_win.h"
#include "support/program_fixture_win.h"

// Defaults are the settings file's own tests; here a saved ASCII mode, placement and a view
// style naming another command (40015 is Exit: details view, not the exit) through the program.
TEST_F(ProgramTest, MainWindowAppliesSavedSettingsAndExitLeavesThemAndNoWorkFolder) {
  const std::string before = NewestWorkFolder();
  WriteWholeFile(program.path() + "vako.ini",
                 "[Vako]\r\nTransferType=ASCII\r\nWindowLeft=50\r\nWindowTop=60\r\nWindowRight=750\r\n"
                 "WindowBottom=560\r\nAuto=0\r\nRemoteListType=40015\r\n");
  Launch();
  HWND window = vako->window();
  EXPECT_EQ(WindowText(window), "Vako FTP v2.06 for Windows95/98/NT");
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 500);
  char cls[64] = "";
  GetClassNameA(vako->Child(2020), cls, sizeof cls);
  EXPECT_STREQ(cls, "msctls_statusbar32");
  EXPECT_EQ(WindowText(vako->Child(5000)), "[UNCONNECTED]");
  EXPECT_TRUE(vako->SendCommand(IDM_NKF_DOWN));  // kept for the next start
  EXPECT_NE(NewestWorkFolder(), before);  // its own work folder

  EXPECT_EQ(vako->Close(), 0);
  EXPECT_EQ(NewestWorkFolder(), before);
  auto ini = ProfileKeys(program.path() + "vako.ini");
  EXPECT_EQ(ini["WindowRight"] + " " + ini["TransferType"] + " " + ini["RemoteListType"] + " " +
                ini["InitialRemoteFolder"] + " " + ini["NKFDown"],
            "750 ASCII 40004 ./ 1");
}
