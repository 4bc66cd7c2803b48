// The two property sheets and the Add Favorite dialog as a Japanese system shows them:
// code page 932, Japanese pages, and the kanji conversions offered.
#include <gtest/gtest.h>

#include "app/app_state_win.h"
#include "config/add_favorite_dialog_win.h"
#include "config/host_profile.h"
#include "config/host_settings_sheet_win.h"
#include "config/options.h"
#include "config/options_sheet_win.h"
#include "dialog_driver_win.h"
#include "resources/resource_ids.h"

namespace {

using Texts = std::vector<std::string>;

Texts AllInCodePage(std::initializer_list<const char*> utf8) {
  Texts texts;
  for (const char* t : utf8) texts.push_back(InCodePage(t));
  return texts;
}

class JapaneseSheets : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u);
    Options = OptionsRecord();
    CurrentHost = HostProfile();
    CurrentHost.HostName = InCodePage(u8"表示テスト");  // second byte 0x5C
    CurrentFavoritePath.clear();
  }
  StandInMainWindow main_{60, 40, 700, 500};
};

// The page shows this text on one of its controls.
void ExpectShows(HWND page, const char* utf8) { EXPECT_NE(FindChildWithText(page, InCodePage(utf8)), nullptr) << utf8; }

TEST_F(JapaneseSheets, EveryOptionsPageIsJapaneseAndTheConversionsCanBeChosen) {
  Options.NKFUp = 2;
  DialogDriver driver({[&](HWND sheet) {
    EXPECT_EQ(Text(sheet), InCodePage(u8"オプション"));
    EXPECT_EQ(TabTitles(sheet), AllInCodePage({u8"基本", u8"転送", u8"表示", u8"UNLHA32", u8"パーミッション", u8"プロキシ",
                                             u8"詳細"}));
    const char* names[] = {"basic", "transfer", "view", "unlha32", "permission", "proxy", "details"};
    const char* samples[] = {u8"既定のフォルダ", u8"送信時のファイル名(&R)", u8"確認のダイアログを表示する",
                             u8"テスト解凍", u8"自動パーミッション設定",
                             u8"プロキシ(ファイアウォール)サーバー経由で接続する(&P)", u8"受信(&R) :"};
    for (int i = 0; i < 7; ++i) {
      HWND page = ShowPage(sheet, i);
      ExpectShows(page, samples[i]);
      SaveScreenshot(sheet, std::string("sheet-options-") + names[i] + "-ja");
    }
    HWND transfer = ShowPage(sheet, 1);
    ExpectShows(transfer, u8"NKF32.DLL(日本語)");
    EXPECT_TRUE(IsWindowEnabled(FindChildWithText(transfer, InCodePage(u8"NKF32.DLL(日本語)"))));
    for (int id : {IDC_TO_EUC, IDC_TO_JIS, IDC_NO_CONVERT, IDC_NKF_DOWN, IDC_NKF_KANA})
      EXPECT_TRUE(IsWindowEnabled(GetDlgItem(transfer, id))) << id;
    EXPECT_EQ(IsDlgButtonChecked(transfer, IDC_TO_JIS), static_cast<UINT>(BST_CHECKED));
    CheckRadioButton(transfer, IDC_TO_EUC, IDC_NO_CONVERT, IDC_TO_EUC);
    CheckDlgButton(transfer, IDC_NKF_DOWN, BST_CHECKED);
    CheckDlgButton(transfer, IDC_NKF_KANA, BST_CHECKED);
    SetItemText(ShowPage(sheet, 0), IDC_OPTIONS_REMOTE, InCodePage(u8"/公開/表"));
    Click(sheet, IDOK);
  }});
  EXPECT_EQ(ShowOptionsSheet(), IDOK);
  EXPECT_EQ(Options.NKFUp, 1);
  EXPECT_EQ(Options.NKFDown, 1);
  EXPECT_EQ(Options.NKFKana, 1);
  EXPECT_EQ(Options.InitialRemoteFolder, InCodePage(u8"/公開/表"));
}

TEST_F(JapaneseSheets, HostSettingsPagesAndAddFavoriteAreJapanese) {
  {
    DialogDriver driver({[&](HWND sheet) {
      EXPECT_EQ(Text(sheet), InCodePage(u8"お気に入りに接続"));
      EXPECT_EQ(TabTitles(sheet), AllInCodePage({u8"基本", u8"詳細", u8"プロキシ"}));
      HWND basic = ShowPage(sheet, 0);
      EXPECT_EQ(ItemText(basic, IDC_HOST_NAME), CurrentHost.HostName);
      EXPECT_EQ(ItemText(basic, IDC_ANONYMOUS), InCodePage(u8"匿名ログイン"));
      ExpectShows(basic, u8"ホストアドレス(&A):");
      SaveScreenshot(sheet, "sheet-host-basic-ja");
      ExpectShows(ShowPage(sheet, 1), u8"キャッシュを消去");
      SaveScreenshot(sheet, "sheet-host-details-ja");
      ExpectShows(ShowPage(sheet, 2), u8"サーバー :");
      SaveScreenshot(sheet, "sheet-host-proxy-ja");
      Click(sheet, IDCANCEL);
    }});
    EXPECT_EQ(ShowHostSettingsSheet(), IDCANCEL);
  }
  {
    DialogDriver driver({[&](HWND d) {
      EXPECT_EQ(Text(d), InCodePage(u8"お気に入りに追加"));
      ExpectShows(d, u8"名前(&N) :");
      EXPECT_EQ(ItemText(d, IDCANCEL), InCodePage(u8"キャンセル"));
      EXPECT_EQ(ItemText(d, IDC_FAVORITE_NAME), CurrentHost.HostName);
      SaveScreenshot(d, "dialog-add-favorite-ja");
      SetItemText(d, IDC_FAVORITE_NAME, InCodePage(u8"ソフト置き場"));
      Click(d, IDOK);
    }});
    EXPECT_EQ(ShowAddFavoriteDialog(), IDOK);
  }
  EXPECT_EQ(CurrentHost.HostName, InCodePage(u8"ソフト置き場"));
}

}  // namespace
