// Favorites with the real program against the loopback servers: Add Favorites and the
// entries it adds to the menu, connecting from an entry, from the command line and from Open
// Favorite; the tree cache a favorite keeps. The importers' lines and names are tested natively.
#include "config/password.h"
#include "dialogs/profile_keys_win.h"
#include "support/program_fixture_win.h"

namespace {

struct Server {
  const char *portVariable, *rootVariable;
};
const Server kVsftpd{"VAKO_VSFTPD_PORT", "VAKO_VSFTPD_ROOT"}, kPureFtpd{"VAKO_PUREFTPD_PORT", "VAKO_PUREFTPD_ROOT"},
    kPyftpdlib{"VAKO_PYFTPD_PORT", "VAKO_PYFTPD_ROOT"};

class FavoritesTest : public ProgramTest {
 protected:
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

  // Closes the program's dialog (the settings sheet, Add Favorite, an Open dialog) with
  // `button`, the text typed first into the fields.
  void CloseDialog(int button, const std::vector<int>& fields = {}, const std::string& text = "") {
    HWND dialog = vako->WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no dialog";
    for (int field : fields) VakoProcess::SetItemText(dialog, field, text);
    VakoProcess::PressButton(dialog, button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  }

  // Accepts the favorite's settings sheet; then waits for the remote row.
  void AcceptSheet(const std::string& rowToWaitFor) {
    CloseDialog(IDOK);
    ASSERT_TRUE(WaitForRow(panes.remoteList, rowToWaitFor));
  }
};

TEST_F(FavoritesTest, AddFavoritesThreeTimesThenConnectFromTheNewEntries) {
  const std::string folder = ServerFolder(kVsftpd, "added", "added-marker");
  // The Connect dialog takes the port and the folder to start in from the options.
  Start({"InitialRemoteFolder=" + folder, PortSetting(kVsftpd.portVariable)});
  Connect();
  ASSERT_TRUE(WaitForRow(panes.remoteList, "added-marker"));

  for (int i = 0; i < 3; ++i) {
    vako->PostCommand(IDM_ADD_FAVORITE);
    CloseDialog(IDOK, {IDC_FAVORITE_NAME}, "x");
  }
  for (const char* name : {"x.BOK", "x0.BOK", "x1.BOK"}) {
    const std::string file = program.path() + name;
    // The program writes the keys one by one after the dialog has gone: TimeLag is the last.
    ASSERT_TRUE(WaitUntil([&] { return ProfileKeys(file)["TimeLag"] == "0"; })) << name;
    auto keys = ProfileKeys(file);
    EXPECT_EQ(keys["HostAddr"], "127.0.0.1");
    EXPECT_EQ(keys["UserID"], testenv::Get("VAKO_FTP_USER"));
    EXPECT_EQ(UnscramblePassword(keys["UserPass"]), testenv::Get("VAKO_FTP_PASS"));
    EXPECT_EQ(keys["InitialRemoteFolder"], testenv::Get(kVsftpd.rootVariable) + "/" + folder);  // as PWD says
    EXPECT_EQ(keys["InitialLocalFolder"] + "\\", local.path());
    EXPECT_EQ(keys.count("HostName"), 0u);
  }

  // The favorite x (the first entry: x, x0, x1) has no host name: its tree cache is x.tre,
  // not ".tre". Its port is what the settings sheet would add.
  WritePrivateProfileStringA("Vako", "iPort", testenv::Get(kVsftpd.portVariable).c_str(), (program.path() + "x.BOK").c_str());
  vako->PostCommand(20000);
  AcceptSheet("added-marker");
  ASSERT_TRUE(vako->SendCommand(IDM_DISCONNECT));
  EXPECT_NE(ReadWholeFile(program.path() + "x.tre").find("added/sub/"), std::string::npos);
  EXPECT_FALSE(FileExists(program.path() + ".tre"));
}

TEST_F(FavoritesTest, CommandLineAndOpenFavoriteConnect) {
  const std::string folder = ServerFolder(kPureFtpd, "cmdline", "cmdline-marker");
  const std::string favorite = program.path() + "from the command line.BOK";
  WriteFavorite(favorite, kPureFtpd, "cmd host", folder);
  Start({}, "\"" + favorite + "\"");
  AcceptSheet("cmdline-marker");

  // Open Favorite connects from the chosen file; the open connection is closed first and
  // keeps its tree cache under its own host name.
  const std::string other = ServerFolder(kPyftpdlib, "opened", "opened-marker");
  WriteFavorite(local.path() + "elsewhere.BOK", kPyftpdlib, "opened host", other);
  vako->PostCommand(IDM_OPEN_FAVORITE);
  CloseDialog(IDOK, {1148, 1152}, local.path() + "elsewhere.BOK");  // the Open dialog's cmb13 and edt1
  AcceptSheet("opened-marker");
  EXPECT_NE(ReadWholeFile(program.path() + "cmd host.tre").find("cmdline/sub/"), std::string::npos);
  ASSERT_TRUE(vako->SendCommand(IDM_DISCONNECT));
  EXPECT_NE(ReadWholeFile(program.path() + "opened host.tre").find("opened/sub/"), std::string::npos);
}

}  // namespace
