// The Options sheet, opened as the Options command opens it and driven from its own
// message loop: each page's fields, pages never opened, Cancel, and the library button.
#include <gtest/gtest.h>

#include <set>

#include "app/app_state_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "config/options_sheet_win.h"
#include "dialog_driver_win.h"
#include "resources/resource_ids.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

using Texts = std::vector<std::string>;

// Every setting but those named is the same in both records.
::testing::AssertionResult SameExcept(const OptionsRecord& a, const OptionsRecord& b, std::set<std::string> changed) {
  for (const SettingKey& k : SettingKeys()) {
    if (changed.count(k.key)) continue;
    bool same = k.kind == SettingKey::Text ? a.*k.text == b.*k.text : a.*k.integer == b.*k.integer;
    if (!same) return ::testing::AssertionFailure() << k.key << " changed";
  }
  return ::testing::AssertionSuccess();
}

class OptionsSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    Options = OptionsRecord();
    CurrentHost = HostProfile();
    CurrentHost.TimeLag = 15;
    ProgramFolder = program_.path();  // no unlha32.dll there unless a test puts it there
  }
  void TearDown() override { ProgramFolder.clear(); }

  INT_PTR Run(DialogScript script) {
    DialogDriver driver({std::move(script)});
    return ShowOptionsSheet();
  }

  TempFolder program_;
  StandInMainWindow main_{100, 80, 640, 440};
};

TEST_F(OptionsSheet, BasicTransferAndViewPagesShowAndSetTheirOptions) {
  Options.InitialLocalFolder = "C:\\work";
  Options.CompareDate = 4;  // a bit the page has no box for stays
  Options.TimeLag = -30;
  Options.ToolFlat = 0;
  const OptionsRecord before = Options;
  INT_PTR result = Run([&](HWND sheet) {
    EXPECT_EQ(Text(sheet), "Options");
    EXPECT_EQ(TabTitles(sheet), (Texts{"Basic", "Transfer", "View", "UNLHA32", "Permission", "Proxy", "Details"}));
    HWND basic = ShowPage(sheet, 0);
    EXPECT_EQ(ItemText(basic, IDC_OPTIONS_LOCAL), "C:\\work");
    EXPECT_EQ(ItemText(basic, IDC_OPTIONS_REMOTE), "./");
    EXPECT_EQ(ItemText(basic, IDC_ASCII_TYPES), "txt;html;shtml;cgi;sh;pl;java;htm;log");
    EXPECT_EQ(ItemText(basic, IDC_BINARY_TYPES), "jpg;gif;lzh;zip;mid");
    EXPECT_EQ(ItemText(basic, IDC_EMAIL), Options.EMail);
    SaveScreenshot(sheet, "sheet-options-basic-en");
    SetItemText(basic, IDC_OPTIONS_REMOTE, "/www");
    CheckDlgButton(basic, IDC_SYNCHRONIZE, BST_CHECKED);
    SetItemText(basic, IDC_ASCII_TYPES, "txt;md");
    SetItemText(basic, IDC_EMAIL, std::string(80, 'm'));  // 64-byte field
    SetItemText(basic, IDC_WEB_PAGE, "http://www.example.org/");

    HWND transfer = ShowPage(sheet, 1);
    EXPECT_EQ(IsDlgButtonChecked(transfer, IDC_AS_IT_IS), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(ItemText(transfer, IDC_OPTIONS_TIME_LAG), "-30");
    EXPECT_EQ(IsDlgButtonChecked(transfer, IDC_NO_CONVERT), static_cast<UINT>(BST_CHECKED));
    // The English edition has no use for the Japanese conversions.
    EXPECT_FALSE(IsWindowEnabled(FindChildWithText(transfer, "NKF32.DLL(Japanese)")));
    for (int id : {IDC_TO_EUC, IDC_TO_JIS, IDC_NO_CONVERT, IDC_NKF_DOWN, IDC_NKF_KANA})
      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(transfer, id))) << id;
    SaveScreenshot(sheet, "sheet-options-transfer-en");
    CheckRadioButton(transfer, IDC_LOWERCASE, IDC_AS_IT_IS, IDC_LOWERCASE);
    CheckDlgButton(transfer, IDC_SEND_NEWER, BST_CHECKED);
    CheckDlgButton(transfer, IDC_SEND_SIZE_DIFFERS, BST_CHECKED);
    CheckDlgButton(transfer, IDC_RECEIVE_NEWER, BST_CHECKED);
    SetItemText(transfer, IDC_OPTIONS_TIME_LAG, "400");

    HWND view = ShowPage(sheet, 2);
    EXPECT_EQ(IsDlgButtonChecked(view, IDC_WINDOW_DIV), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(view, IDC_CONFIRMATIONS), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(view, IDC_TOOL_FLAT), static_cast<UINT>(BST_UNCHECKED));
    SaveScreenshot(sheet, "sheet-options-view-en");
    CheckDlgButton(view, IDC_DETAIL_EXT, BST_CHECKED);
    CheckDlgButton(view, IDC_WINDOW_DIV, BST_UNCHECKED);
    CheckDlgButton(view, IDC_TOOL_FLAT, BST_CHECKED);
    CheckDlgButton(view, IDC_FULL_ROW, BST_CHECKED);
    CheckDlgButton(view, IDC_CONFIRMATIONS, BST_UNCHECKED);
    CheckDlgButton(view, IDC_COMPLETION_BOX, BST_UNCHECKED);

    // The typed time lag is still there after a look at the other pages.
    EXPECT_EQ(ItemText(ShowPage(sheet, 1), IDC_OPTIONS_TIME_LAG), "400");
    Click(sheet, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Options.InitialRemoteFolder, "/www");
  EXPECT_EQ(Options.Sync, 1);
  EXPECT_EQ(Options.AsciiType, "txt;md");
  EXPECT_EQ(Options.EMail, std::string(63, 'm'));
  EXPECT_EQ(Options.HPAddres, "http://www.example.org/");
  EXPECT_EQ(Options.CapitalMode, 0);
  EXPECT_EQ(Options.CompareDate, 7);
  EXPECT_EQ(Options.CompareDate2, 1);
  EXPECT_EQ(Options.TimeLag, 359);
  EXPECT_EQ(CurrentHost.TimeLag, 359);  // the open connection's listings follow it
  EXPECT_EQ(Options.NKFUp, 0);
  EXPECT_EQ(Options.DetailExt, 1);
  EXPECT_EQ(Options.DetailIcon, 0);
  EXPECT_EQ(Options.WindowDiv, 0);
  EXPECT_EQ(Options.ToolFlat, 2048);
  EXPECT_EQ(Options.Wide, 1);
  EXPECT_EQ(Options.YesNo, 0);
  EXPECT_EQ(Options.OK, 0);
  // The four pages never opened kept their options.
  EXPECT_TRUE(SameExcept(before, Options,
                         {"InitialRemoteFolder", "Sync", "AsciiType", "E-Mail", "HPAddres", "CapitalMode",
                          "CompareDate", "CompareDate2", "TimeLag", "DetailExt", "WindowDiv", "ToolFlat", "Wide",
                          "YesNo", "OK"}));
}

TEST_F(OptionsSheet, UnlhaPermissionProxyAndDetailsPagesShowAndSetTheirOptions) {
  Options.TestFolder = "C:\\test";
  Options.Port = 2121;
  const OptionsRecord before = Options;
  INT_PTR result = Run([&](HWND sheet) {
    HWND unlha = ShowPage(sheet, 3);
    EXPECT_EQ(ItemText(unlha, IDC_TEST_FOLDER), "C:\\test");
    EXPECT_EQ(IsDlgButtonChecked(unlha, IDC_TEST_OPEN), static_cast<UINT>(BST_CHECKED));
    SaveScreenshot(sheet, "sheet-options-unlha32-en");
    Click(unlha, IDC_UNLHA_SETTINGS);  // no library beside the program: nothing happens
    SetItemText(unlha, IDC_TEST_FOLDER, "D:\\extract");
    CheckDlgButton(unlha, IDC_TEST_OPEN, BST_UNCHECKED);
    CheckDlgButton(unlha, IDC_LZH_CAPITALS, BST_CHECKED);
    CheckDlgButton(unlha, IDC_LZH_SYSTEM_FILES, BST_CHECKED);

    HWND permission = ShowPage(sheet, 4);
    EXPECT_EQ(ItemText(permission, IDC_CHMOD_TYPE1), "cgi;pl;sh");
    EXPECT_EQ(ItemText(permission, IDC_CHMOD1), "755");
    EXPECT_EQ(ItemText(permission, IDC_CHMOD_TYPE2), "dat;log");
    EXPECT_EQ(ItemText(permission, IDC_CHMOD2), "646");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(permission, IDC_PERMISSION_UNUSED)));
    SaveScreenshot(sheet, "sheet-options-permission-en");
    SetItemText(permission, IDC_CHMOD_TYPE2, "dat;log;txt");
    SetItemText(permission, IDC_CHMOD2, "606060606");  // an 8-byte field keeps 7

    HWND proxy = ShowPage(sheet, 5);
    EXPECT_EQ(ItemText(proxy, IDC_PROXY_PORT), "21");
    EXPECT_EQ(IsDlgButtonChecked(proxy, IDC_PROXY_USER_AT_HOST), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(proxy, IDC_PASV_MODE)));
    EXPECT_EQ(IsDlgButtonChecked(proxy, IDC_PASV_MODE), static_cast<UINT>(BST_UNCHECKED));
    CheckDlgButton(proxy, IDC_PASV_MODE, BST_CHECKED);
    CheckDlgButton(proxy, IDC_USE_PROXY, BST_CHECKED);
    SetItemText(proxy, IDC_PROXY_SERVER, "gate.example.org");
    SetItemText(proxy, IDC_PROXY_PORT, "8080");

    HWND details = ShowPage(sheet, 6);
    EXPECT_EQ(ItemText(details, IDC_PORT), "2121");
    EXPECT_EQ(IsDlgButtonChecked(details, IDC_LIST_COMMAND), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(ItemText(details, IDC_RECEIVE_BUF), "1024");
    EXPECT_EQ(ItemText(details, IDC_SEND_BUF), "1024");
    SaveScreenshot(sheet, "sheet-options-details-en");
    SetItemText(details, IDC_PORT, "21x");  // not a number: 0
    CheckRadioButton(details, IDC_LIST_COMMAND, IDC_NLST_COMMAND, IDC_NLST_COMMAND);
    SetItemText(details, IDC_RECEIVE_BUF, "8192");
    SetItemText(details, IDC_SEND_BUF, "4096");
    // Typed numbers survive a switch to another page and back.
    ShowPage(sheet, 0);
    details = ShowPage(sheet, 6);
    EXPECT_EQ(ItemText(details, IDC_RECEIVE_BUF), "8192");
    EXPECT_EQ(ItemText(details, IDC_PORT), "21x");
    Click(sheet, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Options.TestFolder, "D:\\extract");
  EXPECT_EQ(Options.TestOpen, 0);
  EXPECT_EQ(Options.LZHCap, 1);
  EXPECT_EQ(Options.LZHSys, 1);
  EXPECT_EQ(Options.ChmodType2, "dat;log;txt");
  EXPECT_EQ(Options.Chmod2, "6060606");
  EXPECT_EQ(Options.Proxy, 1);
  EXPECT_EQ(Options.Pasv, 1);
  EXPECT_EQ(Options.ProxyServer, "gate.example.org");
  EXPECT_EQ(Options.ProxyPort, 8080);
  EXPECT_EQ(Options.Port, 0);
  EXPECT_EQ(Options.List, 1);
  EXPECT_EQ(Options.ReceiveBuf, 8192);
  EXPECT_EQ(Options.SendBuf, 4096);
  EXPECT_TRUE(SameExcept(before, Options,
                         {"TestFolder", "TestOpen", "LZHCap", "LZHSys", "ChmodType2", "Chmod2", "Proxy",
                          "ProxyServer", "ProxyPort", "Port", "List", "ReceiveBuf", "SendBuf", "Pasv"}));
  EXPECT_EQ(CurrentHost.TimeLag, 15);  // the Transfer page was never opened
}

TEST_F(OptionsSheet, NegativeTimeLagStopsAtMinus359AndCancelChangesNothing) {
  INT_PTR result = Run([&](HWND sheet) {
    SetItemText(ShowPage(sheet, 1), IDC_OPTIONS_TIME_LAG, "-400");
    Click(sheet, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Options.TimeLag, -359);
  EXPECT_EQ(CurrentHost.TimeLag, -359);

  const OptionsRecord before = Options;
  result = Run([&](HWND sheet) {
    for (int page = 0; page < 7; ++page) ShowPage(sheet, page);
    SetItemText(ShowPage(sheet, 1), IDC_OPTIONS_TIME_LAG, "12");
    CheckDlgButton(ShowPage(sheet, 2), IDC_TOOL_FLAT, BST_CHECKED);
    SetItemText(ShowPage(sheet, 6), IDC_RECEIVE_BUF, "2048");
    Click(sheet, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(SameExcept(before, Options, {}));
  EXPECT_EQ(CurrentHost.TimeLag, -359);
}

TEST_F(OptionsSheet, TheLibraryButtonOpensTheLibrarysOwnDialogOverTheSheet) {
  // The test is given the path of the program's own unlha32.dll.
  const std::string library = testenv::WinePath(::testing::internal::GetArgvs().at(1));
  ASSERT_TRUE(CopyFileA(library.c_str(), (program_.path() + "unlha32.dll").c_str(), FALSE)) << library;
  HWND sheetWindow = nullptr;
  std::string boxTitle;
  {
    DialogDriver driver({[&](HWND sheet) {
                           sheetWindow = sheet;
                           Click(ShowPage(sheet, 3), IDC_UNLHA_SETTINGS);  // returns once the box is answered
                           Click(sheet, IDOK);
                         },
                         [&](HWND box) {
                           boxTitle = Text(box);
                           EXPECT_EQ(GetAncestor(GetWindow(box, GW_OWNER), GA_ROOT), sheetWindow);
                           Click(box, IDOK);
                         }});
    EXPECT_EQ(ShowOptionsSheet(), IDOK);
  }
  EXPECT_EQ(boxTitle, "UNLHA32.DLL");
}

}  // namespace
