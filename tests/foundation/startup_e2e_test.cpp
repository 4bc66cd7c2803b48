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
  // No InitialLocalFolder: the folder it was started in, not the temp folder.
  EXPECT_EQ(WindowText(vako->Child(5001)) + "\\", program.path());
  EXPECT_TRUE(vako->SendCommand(IDM_NKF_DOWN));  // kept for the next start
  EXPECT_NE(NewestWorkFolder(), before);  // its own work folder

  EXPECT_EQ(vako->Close(), 0);
  EXPECT_EQ(NewestWorkFolder(), before);
  auto ini = ProfileKeys(program.path() + "vako.ini");
  EXPECT_EQ(ini["WindowRight"] + " " + ini["TransferType"] + " " + ini["RemoteListType"] + " " +
                ini["InitialRemoteFolder"] + " " + ini["NKFDown"],
            "750 ASCII 40004 ./ 1");
}

// The placement comes back whatever state the window was closed in: minimized, the restored
// rectangle (never the icon's place off screen); maximized, maximized again.
TEST_F(ProgramTest, PlacementComesBackAfterMinimizedAndMaximizedCloses) {
  WriteWholeFile(program.path() + "vako.ini",
                 "[Vako]\r\nWindowLeft=50\r\nWindowTop=60\r\nWindowRight=750\r\nWindowBottom=560\r\n");
  auto closeAfter = [&](WPARAM how, BOOL (*state)(HWND)) {
    PostMessageA(vako->window(), WM_SYSCOMMAND, how, 0);
    ASSERT_TRUE(WaitUntil([&] { return state(vako->window()) != 0; }));
    ASSERT_EQ(vako->Close(), 0);
    auto ini = ProfileKeys(program.path() + "vako.ini");
    EXPECT_EQ(ini["WindowLeft"] + " " + ini["WindowTop"] + " " + ini["WindowRight"] + " " + ini["WindowBottom"],
              "50 60 750 560");
  };
  Launch();
  closeAfter(SC_MINIMIZE, IsIconic);
  Launch();
  EXPECT_FALSE(IsIconic(vako->window()));
  RECT r;
  GetWindowRect(vako->window(), &r);
  EXPECT_EQ(r.left, 50);
  closeAfter(SC_MAXIMIZE, IsZoomed);
  EXPECT_EQ(ProfileKeys(program.path() + "vako.ini")["WindowMaximized"], "1");
  Launch();
  EXPECT_TRUE(IsZoomed(vako->window()));
}

// Logoff or shutdown with the program open: the end-of-session messages keep the changed
// settings and remove the work folder, though the process then ends without closing.
TEST_F(ProgramTest, EndOfSessionKeepsTheSettingsAndRemovesTheWorkFolder) {
  const std::string before = NewestWorkFolder();
  WriteWholeFile(program.path() + "vako.ini", "[Vako]\r\nNKFDown=0\r\n");
  Launch();
  ASSERT_TRUE(vako->SendCommand(IDM_NKF_DOWN));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(vako->window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 20000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  ASSERT_TRUE(SendMessageTimeoutA(vako->window(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 20000, &answer));
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, vako->processId());
  ASSERT_NE(process, nullptr);
  TerminateProcess(process, 1);
  CloseHandle(process);
  EXPECT_EQ(vako->WaitForExit(20000), 1);
  vako.reset();
  EXPECT_EQ(ProfileKeys(program.path() + "vako.ini")["NKFDown"], "1");
  EXPECT_EQ(NewestWorkFolder(), before);
}

// Settings that cannot be written (here a folder stands where vako.ini would be) are
// reported when the program ends, not passed over.
TEST_F(ProgramTest, SettingsThatCannotBeWrittenAreReported) {
  ASSERT_TRUE(CreateDirectoryA((program.path() + "vako.ini").c_str(), nullptr));
  Launch();
  PostMessageA(vako->window(), WM_CLOSE, 0, 0);
  HWND box = vako->WaitForDialog(20000, VAKO_CAPTION);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(VakoProcess::BoxText(box), ResourceText(IDS_SETTINGS_NOT_SAVED, program.path() + "vako.ini"));
  VakoProcess::PressButton(box, IDOK);
  EXPECT_EQ(vako->WaitForExit(20000), 0);
}

// The keys go to the active pane's list: at start, after a dialog, and after a click into a
// tree has made that tree's pane the active one.
TEST_F(ProgramTest, KeysGoToTheActivePanesList) {
  Start({"TreeView=1"});
  auto focus = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(vako->window(), nullptr), &info);
    return info.hwndFocus;
  };
  auto aboutAndBack = [&] {
    vako->PostCommand(IDM_ABOUT);
    HWND about = vako->WaitForDialog();
    ASSERT_NE(about, nullptr);
    VakoProcess::PressButton(about, IDOK);
    WaitUntil([&] { return !IsWindow(about); });
  };
  EXPECT_TRUE(WaitUntil([&] { return focus() == panes.localList; }));
  aboutAndBack();
  EXPECT_TRUE(WaitUntil([&] { return focus() == panes.localList; }));
  vako->Click(panes.remoteTree, POINT{20, 20});
  aboutAndBack();
  EXPECT_TRUE(WaitUntil([&] { return focus() == panes.remoteList; }));
}
