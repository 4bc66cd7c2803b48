// vako.ini through the program's own load and save.
#include <gtest/gtest.h>

#include "app/app_state_win.h"
#include "config/host_profile.h"
#include "config/settings_file_win.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramFolder = WorkFolder = dir.path();
    Options = OptionsRecord();
    SaveLocalColumns = SaveRemoteColumns = false;
  }
  std::string Ini() { return ReadWholeFile(dir.path() + "vako.ini"); }
  Placement Load(const std::string& ini) {
    if (!ini.empty()) WriteWholeFile(dir.path() + "vako.ini", "[Vako]\r\n" + ini);
    Placement p;
    p.left = p.bottom = -1;
    LoadSettings(p);
    return p;
  }
  TempFolder dir;
  MessageBoxRecorder boxes;
};

TEST_F(SettingsFileTest, MissingFileGivesTheDefaultsAndLeavesNoProbeFiles) {
  Options.Port = 99;
  TransferMode = 1;
  Placement p = Load("");
  EXPECT_EQ(p.left, 32);
  EXPECT_EQ(p.bottom, 384);
  EXPECT_EQ(TransferMode, 2);
  EXPECT_EQ(Options.Port, 21);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_FALSE(FileExists(dir.path() + "dmy.html"));
  EXPECT_FALSE(FileExists(dir.path() + "dmy.txt"));
}

TEST_F(SettingsFileTest, SavedFileReadsBackEqual) {
  Options.UserID = "bob";
  Options.UserPass = "p\"w \xff!x!";  // quotes, blanks and a byte that scrambles to 0
  Options.InitialLocalFolder = "C:\\\x95\x5c\\work";
  Options.AsciiType = " txt;htm ";
  Options.ProxyPass = "\"quoted\"";
  Options.TimeLag = -60;
  Options.Security = 2;
  Options.ReconnectTries = 0;  // the default is 3
  TransferMode = 1;
  Placement saved;
  saved.left = -5;
  SaveSettings(saved);
  const OptionsRecord written = Options;
  char installed[MAX_PATH] = "";
  GetProfileStringA("R.TessenSoftwares", "VAKOInstalledDir", "", installed, sizeof installed);
  EXPECT_EQ(installed, ProgramFolder);
  EXPECT_EQ(Ini().find("bob\r\nUserPass=p"), std::string::npos);  // never as typed

  Options = OptionsRecord();
  EXPECT_EQ(Load("").left, -5);
  EXPECT_EQ(TransferMode, 1);
  EXPECT_EQ(Options.UserPass, written.UserPass);
  EXPECT_EQ(Options.InitialLocalFolder, written.InitialLocalFolder);
  EXPECT_EQ(Options.AsciiType, written.AsciiType);
  EXPECT_EQ(Options.ProxyPass, written.ProxyPass);
  EXPECT_EQ(CurrentHost.TimeLag, -60);
  EXPECT_EQ(Options.Security, 2);
  EXPECT_EQ(Options.ReconnectTries, 0);
  FillHostFromOptions();  // the Connect command's host
  EXPECT_EQ(CurrentHost.Security, 2);
}

TEST_F(SettingsFileTest, HandWrittenValues) {
  Load("InitialRemortFolder=/pub\r\nTransferType=binary\r\n userid = alice \r\nPort=abc\r\nChmod1=1234567890\r\n"
       "Security=3\r\nReconnectTries=-2\r\n");
  EXPECT_EQ(Options.InitialRemoteFolder, "/pub");  // the older key's spelling
  EXPECT_EQ(TransferMode, 1);                      // only an upper-case B selects binary
  EXPECT_EQ(Options.UserID, "alice");              // keys match case-insensitively, blanks trimmed
  EXPECT_EQ(Options.Port, 0);
  EXPECT_EQ(Options.Chmod1, "1234567");            // cut to the field's capacity of 8
  EXPECT_EQ(Options.Security, 0);                  // only 0, 1 and 2 are modes
  EXPECT_EQ(Options.ReconnectTries, 0);            // no tries below none
  SaveSettings(Placement());
  EXPECT_NE(Ini().find("InitialRemoteFolder=/pub"), std::string::npos);
}

TEST_F(SettingsFileTest, PasswordAndColumnsOnlyWhenAskedFor) {
  Load("RemColumn1=77\r\n");
  Options.UserPass = "secret";
  Options.SavePass = 0;
  Options.RemColumn[0] = 300;
  Options.LocalColumn[0] = 200;
  SaveLocalColumns = true;
  SaveSettings(Placement());
  EXPECT_NE(Ini().find("RemColumn1=77"), std::string::npos);
  EXPECT_NE(Ini().find("LocalColumn1=200"), std::string::npos);
  Options.UserPass = "changed";
  Load("");
  EXPECT_EQ(Options.UserPass, "");
}

TEST_F(SettingsFileTest, ProxyPasswordIsStoredScrambledAndOldPlainFilesStillRead) {
  Load("ProxyPass=old plain\r\n");
  EXPECT_EQ(Options.ProxyPass, "old plain");  // as an earlier version wrote it
  SaveSettings(Placement());
  EXPECT_EQ(Ini().find("old plain"), std::string::npos);
  EXPECT_NE(Ini().find("ScrambledProxyPass=ojbmq!emp"), std::string::npos);
  Options.ProxyPass.clear();
  Load("");
  EXPECT_EQ(Options.ProxyPass, "old plain");
  // The scrambled key wins over a plain one, also when it holds an empty password.
  Load("ProxyPass=stale\r\nScrambledProxyPass=\r\n");
  EXPECT_EQ(Options.ProxyPass, "");
}
