// Favorites with the real program against the loopback servers: Add Favorites and the
// entries it adds to the menu, connecting from an entry, from the command line and from Open
// Favorite; the tree cache a favorite keeps; what an import writes and reports. The importers'
// lines and names are tested natively.
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

  // Accepts the favorite's settings sheet, a new host name typed on its first page when one
  // is given; then waits for the remote row.
  void AcceptSheet(const std::string& rowToWaitFor, const std::string& hostName = "") {
    if (!hostName.empty()) {
      HWND sheet = vako->WaitForDialog(), page = nullptr;
      ASSERT_TRUE(WaitUntil([&] { return (page = FindWindowExA(sheet, nullptr, "#32770", nullptr)) != nullptr; }));
      VakoProcess::SetItemText(page, IDC_HOST_NAME, hostName);
    }
    CloseDialog(IDOK);
    ASSERT_TRUE(WaitForRow(panes.remoteList, rowToWaitFor));
  }

  // Imports the WS_FTP host list at `path` through the File > Import command; the text of the
  // message it ends with.
  std::string Import(const std::string& path) {
    vako->PostCommand(IDM_IMPORT_WSFTP);
    CloseDialog(IDOK, {1148, 1152}, path);  // the Open dialog's cmb13 and edt1
    return AnswerBox();
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
  // A host name changed on the sheet names this connection's tree cache already.
  AcceptSheet("cmdline-marker", "renamed host");

  // Open Favorite connects from the chosen file; the open connection is closed first and
  // keeps its tree cache under its own host name.
  const std::string other = ServerFolder(kPyftpdlib, "opened", "opened-marker");
  WriteFavorite(local.path() + "elsewhere.BOK", kPyftpdlib, "opened host", other);
  vako->PostCommand(IDM_OPEN_FAVORITE);
  CloseDialog(IDOK, {1148, 1152}, local.path() + "elsewhere.BOK");  // the Open dialog's cmb13 and edt1
  AcceptSheet("opened-marker");
  EXPECT_NE(ReadWholeFile(program.path() + "renamed host.tre").find("cmdline/sub/"), std::string::npos);
  EXPECT_FALSE(FileExists(program.path() + "cmd host.tre"));
  EXPECT_EQ(ProfileKeys(favorite)["HostName"], "renamed host");
  ASSERT_TRUE(vako->SendCommand(IDM_DISCONNECT));
  EXPECT_NE(ReadWholeFile(program.path() + "opened host.tre").find("opened/sub/"), std::string::npos);
}

TEST_F(FavoritesTest, AddFavoritesKeepsNoPasswordThatTheConnectDialogWasToldNotToSave) {
  const std::string folder = ServerFolder(kPyftpdlib, "unsaved", "unsaved-marker");
  Start({"SavePass=0", "InitialRemoteFolder=" + folder, PortSetting(kPyftpdlib.portVariable)});
  Connect();
  ASSERT_TRUE(WaitForRow(panes.remoteList, "unsaved-marker"));
  vako->PostCommand(IDM_ADD_FAVORITE);
  CloseDialog(IDOK, {IDC_FAVORITE_NAME}, "unsaved");
  const std::string file = program.path() + "unsaved.BOK";
  ASSERT_TRUE(WaitUntil([&] { return ProfileKeys(file)["TimeLag"] == "0"; }));
  EXPECT_EQ(ProfileKeys(file)["UserID"], testenv::Get("VAKO_FTP_USER"));
  EXPECT_EQ(ProfileKeys(file)["UserPass"], "");
}

// An import never writes over a favorite, gives hosts whose names make one file name files
// of their own, and says what it did: hosts imported, a list it could not read, a list
// without hosts, favorites already full.
TEST_F(FavoritesTest, ImportWritesNewFilesAndReportsWhatItDid) {
  const std::string existing = "[Vako]\r\nHostAddr=old.example\r\nUserPass=" + ScramblePassword("kept") +
                               "\r\niPort=2121\r\nPasv=1\r\n";
  WriteWholeFile(program.path() + "My Site.BOK", existing);
  for (int i = 0; i < 94; ++i) WriteWholeFile(program.path() + "d" + std::to_string(i) + ".BOK", "[Vako]\r\n");
  const std::string hosts = local.path() + "ws_ftp.ini";
  WriteWholeFile(hosts, "[_config_]\r\nHOST=no\r\n[My Site]\r\nHOST=new.example\r\n[Server]\r\nHOST=one.example\r\n"
                        "[server]\r\nHOST=two.example\r\n[a/b]\r\nHOST=ab.example\r\n[a:b]\r\nHOST=ab2.example\r\n");
  Start({});

  EXPECT_EQ(Import(hosts), ResourceText(IDS_HOSTS_IMPORTED));
  EXPECT_EQ(ReadWholeFile(program.path() + "My Site.BOK"), existing);
  const std::vector<std::pair<std::string, std::string>> written = {
      {"My Site0.BOK", "new.example"}, {"Server.BOK", "one.example"}, {"server0.BOK", "two.example"},
      {"a_b.BOK", "ab.example"}, {"a_b0.BOK", "ab2.example"}};
  for (const auto& [name, address] : written) {
    auto keys = ProfileKeys(program.path() + name);
    EXPECT_EQ(keys["HostAddr"], address) << name;
    EXPECT_EQ(keys.count("iPort") + keys.count("Pasv"), 0u) << name;
  }

  const std::string tooLarge = local.path() + "large.ini";
  WriteWholeFile(tooLarge, std::string(17u << 20, ';'));
  EXPECT_EQ(Import(tooLarge), ResourceText(IDS_FAILED_READ_FILE));
  const std::string none = local.path() + "none.ini";
  WriteWholeFile(none, "[_config_]\r\nHOST=no\r\n");
  EXPECT_EQ(Import(none), ResourceText(IDS_NO_HOSTS_IMPORTED));
  // 95 favorites and 5 imported: the next import finds the favorites full.
  char full[512];
  snprintf(full, sizeof full, ResourceText(IDS_HOSTS_IMPORTED_TO_LIMIT).c_str(), 0);
  EXPECT_EQ(Import(hosts), full);
  EXPECT_FALSE(FileExists(program.path() + "My Site1.BOK"));
}

}  // namespace
