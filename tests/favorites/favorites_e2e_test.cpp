// Favorites with the real program against the loopback servers: Add Favorites and the
// entries it adds to the menu, connecting from an entry, from the command line and from Open
// Favorite; the tree cache a favorite keeps. The importers' lines and names are tested natively.
#include <gtest/gtest.h>
#include <windows.h>

#include "config/password.h"
#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

std::string Key(const std::string& file, const char* key) {
  char value[512] = "";
  GetPrivateProfileStringA("Vako", key, "<missing>", value, sizeof value, file.c_str());
  return value;
}

struct Server {
  const char *portVariable, *rootVariable;
};
const Server kVsftpd{"VAKO_VSFTPD_PORT", "VAKO_VSFTPD_ROOT"}, kPureFtpd{"VAKO_PUREFTPD_PORT", "VAKO_PUREFTPD_ROOT"},
    kPyftpdlib{"VAKO_PYFTPD_PORT", "VAKO_PYFTPD_ROOT"};

class FavoritesTest : public ::testing::Test {
 protected:
  void SetUp() override { program = outer.path() + "program\\"; ASSERT_TRUE(CreateDirectoryA(program.c_str(), nullptr)); }

  // A folder below the server's root holding one file, so that a listing shows which it is.
  std::string ServerFolder(const Server& server, const std::string& name, const std::string& marker) {
    const std::string root = testenv::WinePath(testenv::Get(server.rootVariable)) + "\\" + name;
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    WriteWholeFile(root + "\\" + marker, "x");
    return name;  // from the login folder: vsftpd does not put its users in a root of their own
  }

  // A favorite file as the settings sheet leaves one: every key the connection needs.
  void WriteFavorite(const std::string& path, const Server& server, const std::string& hostName,
                     const std::string& remoteFolder) {
    std::string text = "[Vako]\r\n";
    if (!hostName.empty()) text += "HostName=" + hostName + "\r\n";
    text += "HostAddr=127.0.0.1\r\niPort=" + testenv::Get(server.portVariable) + "\r\nUserID=" +
            testenv::Get("VAKO_FTP_USER") + "\r\nUserPass=" + ScramblePassword(testenv::Get("VAKO_FTP_PASS")) +
            "\r\nInitialRemoteFolder=" + remoteFolder + "\r\nInitialLocalFolder=" +
            local.path().substr(0, local.path().size() - 1) + "\r\n";
    WriteWholeFile(path, text);
  }

  void Start(const std::string& arguments = "", const std::string& settings = "") {
    WriteWholeFile(program + "vako.ini",
                   "[Vako]\r\n" + settings + "InitialLocalFolder=" + local.path() + "\r\nYesNo=0\r\nOK=0\r\n");
    vako.reset(new VakoProcess(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program, arguments));
    ASSERT_TRUE(vako->started());
    ASSERT_NE(vako->WaitForMainWindow(), nullptr);
    remoteList = vako->Child(2100);
  }

  // The program's dialog owned by its main window: the settings sheet, Add Favorite, an
  // Open dialog. Message boxes are owned by it too; their texts are checked where they come.
  HWND WaitForOwnedDialog() {
    HWND found = nullptr;
    WaitUntil([&] {
      for (HWND w : WindowsOfProcess(vako->processId(), "#32770"))
        if (GetWindow(w, GW_OWNER) == vako->window()) {
          found = w;
          return true;
        }
      return false;
    });
    return found;
  }

  // Closes the owned dialog with `button`, a name typed first into Add Favorite's field.
  void CloseDialog(int button, const std::string& name = "") {
    HWND dialog = WaitForOwnedDialog();
    ASSERT_NE(dialog, nullptr) << "no dialog";
    if (!name.empty()) VakoProcess::SetItemText(dialog, IDC_FAVORITE_NAME, name);
    VakoProcess::PressButton(dialog, button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  }

  // Chooses the favorite and accepts its settings sheet; then waits for the remote row.
  void ConnectFrom(int command, const std::string& rowToWaitFor) {
    vako->PostCommand(command);
    CloseDialog(IDOK);
    ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, rowToWaitFor) >= 0; }));
  }

  // Fills the Open dialog's name field with a path and presses Open.
  void OpenInDialog(const std::string& path) {
    HWND dialog = WaitForOwnedDialog();
    ASSERT_NE(dialog, nullptr);
    for (int field : {1148, 1152}) VakoProcess::SetItemText(dialog, field, path);  // cmb13, edt1
    VakoProcess::PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  }

  TempFolder outer, local;
  std::string program;
  std::unique_ptr<VakoProcess> vako;  // ended before its folders go
  HWND remoteList = nullptr;
};

TEST_F(FavoritesTest, AddFavoritesThreeTimesThenConnectFromTheNewEntries) {
  const std::string folder = ServerFolder(kVsftpd, "added", "added-marker");
  // The Connect dialog takes the port and the folder to start in from the options.
  Start("", "InitialRemoteFolder=" + folder + "\r\nPort=" + testenv::Get(kVsftpd.portVariable) + "\r\n");
  ASSERT_TRUE(vako->ConnectThroughDialog(testenv::Get("VAKO_FTP_USER"), testenv::Get("VAKO_FTP_PASS")));
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "added-marker") >= 0; }));

  for (int i = 0; i < 3; ++i) {
    vako->PostCommand(IDM_ADD_FAVORITE);
    CloseDialog(IDOK, "x");
  }
  for (const char* name : {"x.BOK", "x0.BOK", "x1.BOK"}) {
    const std::string file = program + name;
    // The program writes the keys one by one after the dialog has gone: TimeLag is the last.
    ASSERT_TRUE(WaitUntil([&] { return Key(file, "TimeLag") == "0"; })) << name;
    EXPECT_EQ(Key(file, "HostAddr"), "127.0.0.1");
    EXPECT_EQ(Key(file, "UserID"), testenv::Get("VAKO_FTP_USER"));
    EXPECT_EQ(UnscramblePassword(Key(file, "UserPass")), testenv::Get("VAKO_FTP_PASS"));
    EXPECT_EQ(Key(file, "InitialRemoteFolder"), testenv::Get(kVsftpd.rootVariable) + "/" + folder);  // as PWD says
    EXPECT_EQ(Key(file, "InitialLocalFolder") + "\\", local.path());
    EXPECT_EQ(Key(file, "HostName"), "<missing>");
  }

  // The favorite x (the first entry: x, x0, x1) has no host name: its tree cache is x.tre,
  // not ".tre". Its port is what the settings sheet would add.
  WritePrivateProfileStringA("Vako", "iPort", testenv::Get(kVsftpd.portVariable).c_str(), (program + "x.BOK").c_str());
  ConnectFrom(20000, "added-marker");
  ASSERT_TRUE(vako->SendCommand(IDM_DISCONNECT));
  EXPECT_NE(ReadWholeFile(program + "x.tre").find("added/sub/"), std::string::npos);
  EXPECT_FALSE(FileExists(program + ".tre"));
}

TEST_F(FavoritesTest, CommandLineAndOpenFavoriteConnect) {
  const std::string folder = ServerFolder(kPureFtpd, "cmdline", "cmdline-marker");
  const std::string favorite = program + "from the command line.BOK";
  WriteFavorite(favorite, kPureFtpd, "cmd host", folder);
  Start("\"" + favorite + "\"");
  CloseDialog(IDOK);
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "cmdline-marker") >= 0; }));

  // Open Favorite connects from the chosen file; the open connection is closed first and
  // keeps its tree cache under its own host name.
  const std::string other = ServerFolder(kPyftpdlib, "opened", "opened-marker");
  WriteFavorite(local.path() + "elsewhere.BOK", kPyftpdlib, "opened host", other);
  vako->PostCommand(IDM_OPEN_FAVORITE);
  OpenInDialog(local.path() + "elsewhere.BOK");
  CloseDialog(IDOK);
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "opened-marker") >= 0; }));
  EXPECT_NE(ReadWholeFile(program + "cmd host.tre").find("cmdline/sub/"), std::string::npos);
  ASSERT_TRUE(vako->SendCommand(IDM_DISCONNECT));
  EXPECT_NE(ReadWholeFile(program + "opened host.tre").find("opened/sub/"), std::string::npos);
}

}  // namespace
