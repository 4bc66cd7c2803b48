// The host-settings sheet "Connect to favorites" and the Add Favorite dialog, opened as
// the favorites open them and driven from their own message loops.
#include <gtest/gtest.h>
#include <objbase.h>

#include "app/app_state_win.h"
#include "config/add_favorite_dialog_win.h"
#include "config/host_profile.h"
#include "config/host_settings_sheet_win.h"
#include "config/options.h"
#include "config/password.h"
#include "dialog_driver_win.h"
#include "profile_keys_win.h"
#include "resources/resource_ids.h"
#include "support/temp_folder_win.h"

namespace {

using Keys = std::vector<std::string>;

class HostSettingsSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    Options = OptionsRecord();
    Options.EMail = "guest@example.net";
    CurrentHost = HostProfile();
    CurrentHost.HostName = "Work";
    CurrentHost.HostAddr = "ftp.example.org";
    CurrentHost.UserID = "alice";
    CurrentHost.UserPass = "secret";
    CurrentHost.InitialLocalFolder = "C:\\sites";
    CurrentHost.InitialRemoteFolder = "/pub";
    CurrentHost.TimeLag = -60;
    CurrentHost.Port = 2121;
    CurrentHost.List = 1;
    CurrentHost.Proxy.ProxyServer = "proxy.example.org";
    CurrentHost.Proxy.ProxyUser = "puser";
    CurrentHost.Proxy.ProxyPass = "ppass";
    CurrentHost.Proxy.ProxyPort = 8021;
    CurrentHost.Proxy.ProxyType = 2;
    CurrentHost.Proxy.Proxy = 0;
    favorite_ = folder_.path() + "Work.BOK";
    // A key no page shows stays as it was.
    WriteWholeFile(favorite_, "[Vako]\r\nComment=kept\r\n");
    CurrentFavoritePath = favorite_;
  }
  void TearDown() override { CurrentFavoritePath.clear(); }

  TempFolder folder_;
  std::string favorite_;
  StandInMainWindow main_{100, 80, 640, 440};
};

TEST_F(HostSettingsSheet, BasicPageAloneWritesItsSixKeysAndLeavesTheUnopenedPagesFieldsAlone) {
  INT_PTR result = 0;
  {
    DialogDriver driver({[&](HWND sheet) {
      EXPECT_EQ(Text(sheet), "Connect to favorites");
      EXPECT_EQ(TabTitles(sheet), (Keys{"Basic", "Details", "Proxy"}));
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, 0x3021))) << "OK and Cancel only: no Apply button";
      HWND page = ShowPage(sheet, 0);
      EXPECT_EQ(ItemText(page, IDC_HOST_NAME), "Work");
      EXPECT_EQ(ItemText(page, IDC_HOST_ADDRESS), "ftp.example.org");
      EXPECT_EQ(ItemText(page, IDC_LOGIN_NAME), "alice");
      EXPECT_EQ(ItemText(page, IDC_PASSWORD), "secret");
      EXPECT_TRUE(GetWindowLongA(GetDlgItem(page, IDC_PASSWORD), GWL_STYLE) & ES_PASSWORD);
      EXPECT_EQ(ItemText(page, IDC_HOST_LOCAL), "C:\\sites");
      EXPECT_EQ(ItemText(page, IDC_HOST_REMOTE), "/pub");
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_SAVE_PASSWORD)));
      SaveScreenshot(sheet, "sheet-host-basic-en");

      Click(page, IDC_ANONYMOUS);
      EXPECT_EQ(ItemText(page, IDC_LOGIN_NAME), "anonymous");
      EXPECT_EQ(ItemText(page, IDC_PASSWORD), "guest@example.net");
      SetItemText(page, IDC_HOST_NAME, " Work 2 ");  // blanks at the ends survive the file
      SetItemText(page, IDC_HOST_ADDRESS, "192.0.2.9");
      SetItemText(page, IDC_HOST_REMOTE, "/home/www");
      SetItemText(page, IDC_HOST_LOCAL, std::string(300, 'x'));
      Click(sheet, IDOK);
    }});
    result = ShowHostSettingsSheet();
  }
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(CurrentHost.HostName, " Work 2 ");
  EXPECT_EQ(CurrentHost.HostAddr, "192.0.2.9");
  EXPECT_EQ(CurrentHost.UserID, "anonymous");
  EXPECT_EQ(CurrentHost.UserPass, "guest@example.net");
  EXPECT_EQ(CurrentHost.InitialRemoteFolder, "/home/www");
  EXPECT_EQ(CurrentHost.InitialLocalFolder, std::string(259, 'x'));  // cut at the field's capacity
  // Details and Proxy were never opened: their fields are as they were.
  EXPECT_EQ(CurrentHost.TimeLag, -60);
  EXPECT_EQ(CurrentHost.Port, 2121);
  EXPECT_EQ(CurrentHost.List, 1);
  EXPECT_EQ(CurrentHost.Proxy.ProxyServer, "proxy.example.org");
  EXPECT_EQ(CurrentHost.Proxy.ProxyPort, 8021);

  auto keys = ProfileKeys(favorite_);
  EXPECT_EQ(KeyNames(keys), (Keys{"Comment", "HostAddr", "HostName", "InitialLocalFolder", "InitialRemoteFolder",
                                  "UserID", "UserPass"}));
  EXPECT_EQ(keys["HostName"], " Work 2 ");
  EXPECT_EQ(keys["UserPass"], ScramblePassword("guest@example.net"));
  EXPECT_EQ(UnscramblePassword(keys["UserPass"]), "guest@example.net");
  EXPECT_EQ(keys["Comment"], "kept");
}

TEST_F(HostSettingsSheet, DetailsAndProxyPagesStoreTheirFieldsAndKeysTimeLagUnclamped) {
  const std::string cache = folder_.path() + "Work.tre";
  WriteWholeFile(cache, "./\r\n");
  INT_PTR result = 0;
  {
    DialogDriver driver({[&](HWND sheet) {
      HWND details = ShowPage(sheet, 1);
      EXPECT_EQ(ItemText(details, IDC_HOST_TIME_LAG), "-60");
      EXPECT_EQ(ItemText(details, IDC_PORT), "2121");
      EXPECT_EQ(IsDlgButtonChecked(details, IDC_NLST_COMMAND), static_cast<UINT>(BST_CHECKED));
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(details, IDC_CACHE)));
      SaveScreenshot(sheet, "sheet-host-details-en");
      Click(details, IDC_CACHE_CLEAR);
      EXPECT_FALSE(FileExists(cache)) << "the tree cache goes at once";
      EXPECT_TRUE(FileExists(favorite_));
      SetItemText(details, IDC_HOST_TIME_LAG, "400");
      SetItemText(details, IDC_PORT, "990");
      CheckRadioButton(details, IDC_LIST_COMMAND, IDC_NLST_COMMAND, IDC_LIST_COMMAND);

      HWND proxy = ShowPage(sheet, 2);
      EXPECT_EQ(IsDlgButtonChecked(proxy, IDC_USE_PROXY), static_cast<UINT>(BST_UNCHECKED));
      EXPECT_EQ(ItemText(proxy, IDC_PROXY_SERVER), "proxy.example.org");
      EXPECT_EQ(ItemText(proxy, IDC_PROXY_PORT), "8021");
      EXPECT_EQ(ItemText(proxy, IDC_PROXY_USER), "puser");
      EXPECT_EQ(ItemText(proxy, IDC_PROXY_PASS), "ppass");
      EXPECT_EQ(IsDlgButtonChecked(proxy, IDC_PROXY_USER_AT_HOST), static_cast<UINT>(BST_CHECKED));
      for (int id : {IDC_PROXY_USER, IDC_PROXY_PASS, IDC_PROXY_SITE, IDC_PROXY_OPEN})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(proxy, id))) << id;
      EXPECT_TRUE(IsWindowEnabled(GetDlgItem(proxy, IDC_PASV_MODE)));
      EXPECT_EQ(IsDlgButtonChecked(proxy, IDC_PASV_MODE), static_cast<UINT>(BST_UNCHECKED));
      CheckDlgButton(proxy, IDC_PASV_MODE, BST_CHECKED);
      SaveScreenshot(sheet, "sheet-host-proxy-en");
      CheckDlgButton(proxy, IDC_USE_PROXY, BST_CHECKED);
      SetItemText(proxy, IDC_PROXY_SERVER, "gate.example.org");
      SetItemText(proxy, IDC_PROXY_PORT, "port");  // not a number: 0

      // Typed numbers stay while the user looks at other pages.
      details = ShowPage(sheet, 1);
      EXPECT_EQ(ItemText(details, IDC_HOST_TIME_LAG), "400");
      EXPECT_EQ(ItemText(details, IDC_PORT), "990");
      Click(sheet, IDOK);
    }});
    result = ShowHostSettingsSheet();
  }
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(CurrentHost.TimeLag, 400);
  EXPECT_EQ(CurrentHost.Port, 990);
  EXPECT_EQ(CurrentHost.List, 0);
  EXPECT_EQ(CurrentHost.Proxy.Proxy, 1);
  EXPECT_EQ(CurrentHost.Proxy.ProxyServer, "gate.example.org");
  EXPECT_EQ(CurrentHost.Proxy.ProxyPort, 0);
  EXPECT_EQ(CurrentHost.Proxy.ProxyUser, "puser");
  EXPECT_EQ(CurrentHost.Proxy.ProxyType, 2);  // carried, never read from the page
  EXPECT_EQ(CurrentHost.Pasv, 1);

  auto keys = ProfileKeys(favorite_);
  EXPECT_EQ(KeyNames(keys), (Keys{"Comment", "HostAddr", "HostName", "InitialLocalFolder", "InitialRemoteFolder", "List",
                                  "Pasv", "Proxy", "ProxyPass", "ProxyPort", "ProxyServer", "ProxyType", "ProxyUser",
                                  "TimeLag", "UserID", "UserPass", "iPort"}));
  EXPECT_EQ(keys["Pasv"], "1");
  EXPECT_EQ(keys["TimeLag"], "400");
  EXPECT_EQ(keys["iPort"], "990");
  EXPECT_EQ(keys["List"], "0");
  EXPECT_EQ(keys["Proxy"], "1");
  EXPECT_EQ(keys["ProxyPort"], "0");
  EXPECT_EQ(keys["ProxyPass"], "ppass");  // stored as typed
  EXPECT_EQ(keys["ProxyType"], "2");
}

TEST_F(HostSettingsSheet, CancelChangesNeitherTheProfileNorTheFile) {
  const HostProfile before = CurrentHost;
  const std::string file = ReadWholeFile(favorite_);
  INT_PTR result = 0;
  {
    DialogDriver driver({[&](HWND sheet) {
      SetItemText(ShowPage(sheet, 0), IDC_HOST_ADDRESS, "changed.example");
      SetItemText(ShowPage(sheet, 1), IDC_HOST_TIME_LAG, "5");
      CheckDlgButton(ShowPage(sheet, 2), IDC_USE_PROXY, BST_CHECKED);
      Click(sheet, IDCANCEL);
    }});
    result = ShowHostSettingsSheet();
  }
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(CurrentHost.HostAddr, before.HostAddr);
  EXPECT_EQ(CurrentHost.TimeLag, before.TimeLag);
  EXPECT_EQ(CurrentHost.Proxy.Proxy, before.Proxy.Proxy);
  EXPECT_EQ(ReadWholeFile(favorite_), file);
}

TEST_F(HostSettingsSheet, CacheClearWithoutAFavoritePathDeletesNothing) {
  // Without a favorite file name there is no tree cache of its own to delete; ".tre" in
  // the current folder is some other favorite's.
  char current[MAX_PATH];
  GetCurrentDirectoryA(sizeof current, current);
  SetCurrentDirectoryA(folder_.path().c_str());
  WriteWholeFile(folder_.path() + ".tre", "./\r\n");
  CurrentFavoritePath.clear();
  {
    DialogDriver driver({[&](HWND sheet) {
      Click(ShowPage(sheet, 1), IDC_CACHE_CLEAR);
      Click(sheet, IDOK);
    }});
    EXPECT_EQ(ShowHostSettingsSheet(), IDOK);
  }
  SetCurrentDirectoryA(current);
  EXPECT_TRUE(FileExists(folder_.path() + ".tre"));
  EXPECT_EQ(CurrentHost.TimeLag, -60);  // the page's fields still reach the profile
}

TEST_F(HostSettingsSheet, FolderButtonBrowsesFromTheLocalFieldAndTheChoiceReplacesIt) {
  CoInitialize(nullptr);  // the folder browser needs COM
  const std::string chosen = folder_.path() + "site";
  CreateDirectoryA(chosen.c_str(), nullptr);
  bool chose = false;
  INT_PTR result = 0;
  {
    DialogDriver driver({[&](HWND sheet) {
                           HWND page = ShowPage(sheet, 0);
                           Click(page, IDC_BROWSE_HOST_LOCAL);  // runs the browser's script below
                           if (!chose) return Click(sheet, IDCANCEL);
                           EXPECT_EQ(ItemText(page, IDC_HOST_LOCAL), chosen);
                           Click(sheet, IDOK);
                         },
                         ChooseInBrowser("Select Folder", chosen, chose)});
    result = ShowHostSettingsSheet();
  }
  if (!chose) GTEST_SKIP() << "Wine's folder browser took no selection this time";
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(CurrentHost.InitialLocalFolder, chosen);
  EXPECT_EQ(ProfileKeys(favorite_)["InitialLocalFolder"], chosen);
}

TEST(AddFavoriteDialog, ShowsTheHostNameCentredAndStoresTheTypedNameOnOkOnly) {
  StandInMainWindow main(120, 90, 640, 420);
  CurrentHost = HostProfile();
  CurrentHost.HostName = "Work";
  {
    DialogDriver driver({[&](HWND d) {
      EXPECT_EQ(Text(d), "Add Favorite");
      EXPECT_NE(FindChildWithText(d, "Add Favorite"), nullptr);
      EXPECT_NE(FindChildWithText(d, "&Name :"), nullptr);
      EXPECT_EQ(ItemText(d, IDC_FAVORITE_NAME), "Work");
      RECT m, r;
      GetWindowRect(main.handle(), &m);
      GetWindowRect(d, &r);
      EXPECT_EQ(r.left, m.left + (m.right - m.left) / 2 - (r.right - r.left) / 2);
      EXPECT_EQ(r.top, m.top + (m.bottom - m.top) / 2 - (r.bottom - r.top) / 2);
      SaveScreenshot(d, "dialog-add-favorite-en");
      SetItemText(d, IDC_FAVORITE_NAME, "Other");
      Click(d, IDCANCEL);
    }});
    EXPECT_EQ(ShowAddFavoriteDialog(), IDCANCEL);
  }
  EXPECT_EQ(CurrentHost.HostName, "Work");
  {
    DialogDriver driver({[&](HWND d) {
      SetItemText(d, IDC_FAVORITE_NAME, "a/b:" + std::string(300, 'n'));
      Click(d, IDOK);
    }});
    EXPECT_EQ(ShowAddFavoriteDialog(), IDOK);
  }
  EXPECT_EQ(CurrentHost.HostName, "a/b:" + std::string(251, 'n'));  // 255 characters, as typed
}

}  // namespace
