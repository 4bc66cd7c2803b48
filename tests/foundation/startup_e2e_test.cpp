// Starts the real program under Wine and checks what a user and the disk see.
#include <gtest/gtest.h>

#include <set>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

static std::string ProgramPath() { return testenv::WinePath(::testing::internal::GetArgvs().at(1)); }

static std::set<std::string> WorkFoldersNow() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((std::string(temp) + "vakotmp*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.insert(found.cFileName); while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

static std::string IniValue(const std::string& folder, const char* key) {
  char value[256] = "";
  GetPrivateProfileStringA("Vako", key, "<missing>", value, sizeof value, (folder + "vako.ini").c_str());
  return value;
}

// Defaults are the settings file's own tests; here a saved ASCII mode, placement and a view
// style naming another command (40015 is Exit: details view, not the exit) through the program.
TEST(Startup, MainWindowAppliesSavedSettingsAndExitLeavesThemAndNoWorkFolder) {
  TempFolder programFolder;
  const std::set<std::string> before = WorkFoldersNow();
  WriteWholeFile(programFolder.path() + "vako.ini",
                 "[Vako]\r\nTransferType=ASCII\r\nWindowLeft=50\r\nWindowTop=60\r\nWindowRight=750\r\n"
                 "WindowBottom=560\r\nAuto=0\r\nRemoteListType=40015\r\n");
  VakoProcess vako(ProgramPath(), programFolder.path());
  HWND window = vako.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowText(window), "Vako FTP v2.06 for Windows95/98/NT");
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 500);
  char cls[64] = "";
  GetClassNameA(vako.Child(2020), cls, sizeof cls);
  EXPECT_STREQ(cls, "msctls_statusbar32");
  EXPECT_NE(GetDlgItem(vako.Child(2020), 5002), nullptr);  // the progress bar lives in the status bar
  EXPECT_EQ(WindowText(vako.Child(5000)), "[UNCONNECTED]");
  EXPECT_TRUE(vako.SendCommand(IDM_NKF_DOWN));  // kept for the next start
  EXPECT_EQ(WorkFoldersNow().size(), before.size() + 1);

  EXPECT_EQ(vako.Close(), 0);
  EXPECT_EQ(WorkFoldersNow(), before);
  EXPECT_EQ(IniValue(programFolder.path(), "WindowRight"), "750");
  EXPECT_EQ(IniValue(programFolder.path(), "TransferType"), "ASCII");
  EXPECT_EQ(IniValue(programFolder.path(), "RemoteListType"), "40004");
  EXPECT_EQ(IniValue(programFolder.path(), "InitialRemoteFolder"), "./");
  EXPECT_EQ(IniValue(programFolder.path(), "NKFDown"), "1");
}
