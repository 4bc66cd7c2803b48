#include <gtest/gtest.h>

#include <shlobj.h>

#include "app/app_state_win.h"
#include "config/host_profile.h"
#include "config/settings_file_win.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramFolder = dir.path();
    WorkFolder = dir.path();
    Options = OptionsRecord();
    SaveLocalColumns = SaveRemoteColumns = false;
  }
  std::string Ini() { return ReadWholeFile(dir.path() + "vako.ini"); }
  TempFolder dir;
  MessageBoxRecorder boxes;
};

TEST_F(SettingsFileTest, MissingFileGivesEveryDefault) {
  Options.Port = 99;
  TransferMode = 1;
  Placement p;
  p.left = p.top = p.right = p.bottom = -1;
  LoadSettings(p);
  EXPECT_EQ(p.left, 32);
  EXPECT_EQ(p.top, 32);
  EXPECT_EQ(p.right, 635);
  EXPECT_EQ(p.bottom, 384);
  EXPECT_EQ(TransferMode, 2);
  EXPECT_EQ(Options.InitialRemoteFolder, "./");
  EXPECT_EQ(Options.Port, 21);
  EXPECT_EQ(Options.LocalListType, 40004);
  EXPECT_EQ(Options.RemColumn[3], 110);
  char desktop[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
  EXPECT_EQ(Options.TestFolder, desktop);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_FALSE(FileExists(dir.path() + "dmy.html"));  // the probe files are gone again
  EXPECT_FALSE(FileExists(dir.path() + "dmy.txt"));
}

TEST_F(SettingsFileTest, SavedFileReadsBackEqual) {
  Options.HostName = "My host";
  Options.HostAddr = "ftp.example.org";
  Options.UserID = "bob";
  Options.UserPass = "p\"w \xff!x!";  // quotes, blanks and a byte that scrambles to 0
  Options.InitialLocalFolder = "C:\\\x95\x5c\\work";
  Options.InitialRemoteFolder = "/pub/incoming";
  Options.AsciiType = " txt;htm ";
  Options.ProxyPass = "\"quoted\"";
  Options.TimeLag = -60;
  Options.CompareDate = 3;
  Options.WindowDiv = 0;
  Options.ReceiveBuf = 65536;
  Options.LocalColumn[2] = 99;
  Options.RemColumn[0] = 321;
  SaveLocalColumns = SaveRemoteColumns = true;
  TransferMode = 1;
  Placement saved;
  saved.left = -5;
  saved.top = 10;
  saved.right = 800;
  saved.bottom = 600;
  SaveSettings(saved);
  OptionsRecord written = Options;

  EXPECT_NE(Ini().find("TimeLag=-60"), std::string::npos);
  char installed[MAX_PATH] = "";
  GetProfileStringA("R.TessenSoftwares", "VAKOInstalledDir", "", installed, sizeof installed);
  EXPECT_EQ(installed, ProgramFolder);
  EXPECT_EQ(Ini().find("bob\r\nUserPass=p"), std::string::npos);  // never as typed

  Options = OptionsRecord();
  Placement loaded;
  LoadSettings(loaded);
  EXPECT_EQ(loaded.left, -5);
  EXPECT_EQ(loaded.bottom, 600);
  EXPECT_EQ(TransferMode, 1);
  EXPECT_EQ(Options.HostName, written.HostName);
  EXPECT_EQ(Options.UserPass, written.UserPass);
  EXPECT_EQ(Options.InitialLocalFolder, written.InitialLocalFolder);
  EXPECT_EQ(Options.InitialRemoteFolder, written.InitialRemoteFolder);
  EXPECT_EQ(Options.AsciiType, written.AsciiType);
  EXPECT_EQ(Options.ProxyPass, written.ProxyPass);
  EXPECT_EQ(Options.TimeLag, -60);
  EXPECT_EQ(CurrentHost.TimeLag, -60);
  EXPECT_EQ(Options.CompareDate, 3);
  EXPECT_EQ(Options.WindowDiv, 0);
  EXPECT_EQ(Options.ReceiveBuf, 65536);
  EXPECT_EQ(Options.LocalColumn[2], 99);
  EXPECT_EQ(Options.RemColumn[0], 321);
}

TEST_F(SettingsFileTest, OlderRemoteFolderKeyAndLowerCaseBinary) {
  WriteWholeFile(dir.path() + "vako.ini",
                 "[Vako]\r\nInitialRemortFolder=/pub\r\nTransferType=binary\r\n userid = alice \r\n"
                 "Port=abc\r\nChmod1=1234567890\r\n");
  Placement p;
  LoadSettings(p);
  EXPECT_EQ(Options.InitialRemoteFolder, "/pub");
  EXPECT_EQ(TransferMode, 1);             // only an upper-case B selects binary
  EXPECT_EQ(Options.UserID, "alice");     // keys match case-insensitively, blanks trimmed
  EXPECT_EQ(Options.Port, 0);             // a value without digits reads as 0
  EXPECT_EQ(Options.Chmod1, "1234567");   // cut to the field's capacity of 8
  SaveSettings(p);
  std::string ini = Ini();
  EXPECT_NE(ini.find("InitialRemoteFolder=/pub"), std::string::npos);
  EXPECT_NE(ini.find("InitialRemortFolder=/pub"), std::string::npos);  // left untouched
  EXPECT_NE(ini.find("TransferType=ASCII"), std::string::npos);
}

TEST_F(SettingsFileTest, ViewStylesOutsideTheViewCommandsReadAsDetails) {
  // The view style is sent as a command at start: 40015 would be Exit.
  WriteWholeFile(dir.path() + "vako.ini", "[Vako]\r\nRemoteListType=40015\r\nLocalListType=40000\r\n");
  Placement p;
  LoadSettings(p);
  EXPECT_EQ(Options.RemoteListType, 40004);
  EXPECT_EQ(Options.LocalListType, 40004);
  WriteWholeFile(dir.path() + "vako.ini", "[Vako]\r\nRemoteListType=40001\r\nLocalListType=40003\r\n");
  LoadSettings(p);
  EXPECT_EQ(Options.RemoteListType, 40001);
  EXPECT_EQ(Options.LocalListType, 40003);
}

TEST_F(SettingsFileTest, PasswordIsWrittenOnlyWhileSavePassIsOn) {
  Options.UserPass = "secret";
  Options.SavePass = 0;
  SaveSettings(Placement());
  Options.UserPass = "changed";
  Placement p;
  LoadSettings(p);
  EXPECT_EQ(Options.UserPass, "");
}

TEST_F(SettingsFileTest, ColumnWidthsOnlyForListsInDetailsView) {
  WriteWholeFile(dir.path() + "vako.ini", "[Vako]\r\nRemColumn1=77\r\n");
  Options.RemColumn[0] = 300;
  Options.LocalColumn[0] = 200;
  SaveLocalColumns = true;
  SaveRemoteColumns = false;
  SaveSettings(Placement());
  std::string ini = Ini();
  EXPECT_NE(ini.find("RemColumn1=77"), std::string::npos);
  EXPECT_NE(ini.find("LocalColumn1=200"), std::string::npos);
}
