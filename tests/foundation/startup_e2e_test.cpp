// Starts the real program under Wine and checks what a user and the disk see.
#include <gtest/gtest.h>

#include <set>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

static std::string ProgramPath() {
  return testenv::WinePath(::testing::internal::GetArgvs().at(1));
}

static std::set<std::string> WorkFoldersNow() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((std::string(temp) + "vakotmp*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.insert(std::string(temp) + found.cFileName); while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

static std::string IniValue(const std::string& ini, const std::string& key) {
  size_t at = ini.find("\r\n" + key + "=");
  if (at == std::string::npos) return "<missing>";
  at += key.size() + 3;
  return ini.substr(at, ini.find("\r\n", at) - at);
}

TEST(Startup, MainWindowComesUpAndExitLeavesSettingsAndNoWorkFolder) {
  TempFolder programFolder;
  // A leftover work folder of an earlier run that died: the program must take another.
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  int n = 0;
  while (FileExists(std::string(temp) + "vakotmp" + std::to_string(n))) ++n;
  std::string leftover = std::string(temp) + "vakotmp" + std::to_string(n);
  ASSERT_TRUE(CreateDirectoryA(leftover.c_str(), nullptr));
  std::set<std::string> before = WorkFoldersNow();

  VakoProcess vako(ProgramPath(), programFolder.path());
  ASSERT_TRUE(vako.started());
  HWND window = vako.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowText(window), "Vako FTP v2.06 for Windows95/98/NT");

  // Menus belong to their process under Wine, so only their presence is checked here;
  // their items are checked where the resources are loaded in-process.
  EXPECT_NE(GetMenu(window), nullptr);

  HWND status = vako.Child(2020);
  ASSERT_NE(status, nullptr);
  char cls[64];
  GetClassNameA(status, cls, sizeof cls);
  EXPECT_STREQ(cls, "msctls_statusbar32");
  EXPECT_NE(GetDlgItem(status, 5002), nullptr);  // the progress bar lives in the status bar
  EXPECT_EQ(WindowText(vako.Child(5000)), "[UNCONNECTED]");
  // The conversion setting chosen in the menu is kept for the next start.
  EXPECT_TRUE(vako.SendCommand(IDM_NKF_DOWN));

  std::set<std::string> during = WorkFoldersNow();
  ASSERT_EQ(during.size(), before.size() + 1);
  std::string work;
  for (const std::string& f : during)
    if (!before.count(f)) work = f;
  EXPECT_GT(work, leftover);

  EXPECT_EQ(vako.Close(), 0);
  EXPECT_FALSE(FileExists(work));
  EXPECT_TRUE(FileExists(leftover));
  RemoveDirectoryA(leftover.c_str());

  std::string ini = "\r\n" + ReadWholeFile(programFolder.path() + "vako.ini");
  EXPECT_EQ(IniValue(ini, "WindowLeft"), "32");
  EXPECT_EQ(IniValue(ini, "WindowTop"), "32");
  EXPECT_EQ(IniValue(ini, "WindowRight"), "635");
  EXPECT_EQ(IniValue(ini, "WindowBottom"), "384");
  EXPECT_EQ(IniValue(ini, "TransferType"), "BINARY");
  EXPECT_EQ(IniValue(ini, "InitialRemoteFolder"), "./");
  EXPECT_EQ(IniValue(ini, "Chmod2"), "646");
  EXPECT_EQ(IniValue(ini, "ReceiveBuf"), "1024");
  EXPECT_EQ(IniValue(ini, "TimeLag"), "0");
  EXPECT_EQ(IniValue(ini, "NKFDown"), "1");
}

TEST(Startup, SavedAsciiModeAndPlacementAreApplied) {
  TempFolder programFolder;
  WriteWholeFile(programFolder.path() + "vako.ini",
                 "[Vako]\r\nTransferType=ASCII\r\nWindowLeft=50\r\nWindowTop=60\r\nWindowRight=750\r\n"
                 "WindowBottom=560\r\nAuto=0\r\nRemoteListType=40015\r\n");
  VakoProcess vako(ProgramPath(), programFolder.path());
  HWND window = vako.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 500);
  EXPECT_EQ(vako.Close(), 0);
  std::string ini = "\r\n" + ReadWholeFile(programFolder.path() + "vako.ini");
  EXPECT_EQ(IniValue(ini, "TransferType"), "ASCII");
  EXPECT_EQ(IniValue(ini, "WindowLeft"), "50");
  // A view style that names another command (40015 is Exit) starts in details view.
  EXPECT_EQ(IniValue(ini, "RemoteListType"), "40004");
}
