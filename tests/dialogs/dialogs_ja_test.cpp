// The dialogs as a Japanese system shows them: code page 932 and the Japanese resources.
#include <gtest/gtest.h>

#include "app/app_state_win.h"
#include "config/about_dialog_win.h"
#include "config/change_permission_dialog_win.h"
#include "config/connect_dialog_win.h"
#include "config/goto_folder_dialog_win.h"
#include "config/options.h"
#include "dialog_driver_win.h"
#include "resources/resource_ids.h"
#include "support/message_box_recorder_win.h"

namespace {

class JapaneseDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u);
    Options = OptionsRecord();
    Options.HostName = InCodePage(u8"社内サーバー");
    Options.HostAddr = "ftp.example.jp";
    Options.UserID = "taro";
    Options.UserPass = "himitsu";
  }
  StandInMainWindow main_{100, 80, 640, 440};
  MessageBoxRecorder boxes_;
};

TEST_F(JapaneseDialogs, ConnectIsJapaneseAndItsMessagesToo) {
  DialogDriver driver({[&](HWND d) {
    EXPECT_EQ(Text(d), InCodePage(u8"接続"));
    EXPECT_EQ(ItemText(d, IDOK), InCodePage(u8"接続(&C)"));
    EXPECT_EQ(ItemText(d, IDCANCEL), InCodePage(u8"キャンセル"));
    EXPECT_EQ(ItemText(d, IDC_HOST_NAME), Options.HostName);
    SaveScreenshot(d, "dialog-connect-ja");
    SetItemText(d, IDC_HOST_ADDRESS, "");
    Click(d, IDOK);
    ASSERT_EQ(boxes_.boxes().size(), 1u);
    EXPECT_EQ(boxes_.boxes()[0].text, InCodePage(u8"ホストアドレスを入力してください"));
    Click(d, IDCANCEL);
  }});
  EXPECT_EQ(ShowConnectDialog(), IDCANCEL);
}

TEST_F(JapaneseDialogs, GoToFolderAndAboutAreJapanese) {
  CurrentLocalFolder = "C:\\";
  {
    DialogDriver driver({[&](HWND d) {
      EXPECT_EQ(Text(d), InCodePage(u8"フォルダへ移動"));
      EXPECT_EQ(ItemText(d, IDC_BROWSE_FOLDER), InCodePage(u8"参照(&B)..."));
      SaveScreenshot(d, "dialog-goto-folder-ja");
      Click(d, IDCANCEL);
    }});
    EXPECT_EQ(ShowGoToFolderDialog(0), IDCANCEL);
  }
  {
    DialogDriver driver({[&](HWND d) {
      EXPECT_EQ(Text(d), InCodePage(u8"Vako FTP のバージョン情報"));
      SaveScreenshot(d, "dialog-about-ja");
      Click(d, IDOK);
    }});
    ShowAboutDialog();
  }
}

TEST_F(JapaneseDialogs, ChangePermissionIsJapaneseAndHandsTheTypedTextOn) {
  SharedNameBuffer = "untouched";
  {
    DialogDriver driver({[&](HWND d) {
      EXPECT_EQ(Text(d), InCodePage(u8"パーミッションの変更"));
      EXPECT_NE(FindChildWithText(d, InCodePage(u8"パーミッションを変更します。3 桁の数字を入力してください")), nullptr);
      EXPECT_NE(FindChildWithText(d, InCodePage(u8"例 : 755  ,  644 など")), nullptr);
      EXPECT_NE(FindChildWithText(d, InCodePage(u8"パーミッション :")), nullptr);
      EXPECT_EQ(ItemText(d, IDOK), "OK");
      EXPECT_EQ(ItemText(d, IDCANCEL), InCodePage(u8"キャンセル"));
      SetItemText(d, IDC_PERMISSION_FIELD, "755");
      SaveScreenshot(d, "dialog-change-permission-ja");
      Click(d, IDCANCEL);
    }});
    EXPECT_EQ(ShowChangePermissionDialog(main_.handle()), IDCANCEL);
  }
  EXPECT_EQ(SharedNameBuffer, "untouched");
  {
    DialogDriver driver({[&](HWND d) {
      SetItemText(d, IDC_PERMISSION_FIELD, "644");
      Click(d, IDOK);
    }});
    EXPECT_EQ(ShowChangePermissionDialog(main_.handle()), IDOK);
  }
  EXPECT_EQ(SharedNameBuffer, "644");
}

// A field full of two-byte characters is cut before a character, never inside one.
TEST_F(JapaneseDialogs, LongJapaneseTextsAreCutOnCharacterBoundaries) {
  std::string a;  // "あ" repeated: 2 bytes each
  for (int i = 0; i < 100; ++i) a += InCodePage(u8"あ");
  std::string folder = "C:";
  for (int i = 0; i < 300; ++i) folder += InCodePage(u8"表");  // second byte 0x5C
  {
    DialogDriver driver({[&](HWND d) {
      SetItemText(d, IDC_HOST_NAME, a + a);
      SetItemText(d, IDC_HOST_ADDRESS, a);
      Click(d, IDOK);
    }});
    EXPECT_EQ(ShowConnectDialog(), IDOK);
  }
  EXPECT_EQ(Options.HostAddr, a.substr(0, 126));  // 127 bytes would split a character
  EXPECT_EQ(Options.HostName, (a + a).substr(0, 254));  // and 255 here
  {
    DialogDriver driver({[&](HWND d) {
      SetItemText(d, IDC_FOLDER_FIELD, folder);
      Click(d, IDOK);
    }});
    EXPECT_EQ(ShowGoToFolderDialog(0), IDOK);
  }
  EXPECT_EQ(SharedNameBuffer, folder.substr(0, 510));
  SharedNameBuffer.clear();
  {
    DialogDriver driver({[&](HWND d) {
      SetItemText(d, IDC_PERMISSION_FIELD, folder.substr(2));
      Click(d, IDOK);
    }});
    EXPECT_EQ(ShowChangePermissionDialog(main_.handle()), IDOK);
  }
  EXPECT_EQ(SharedNameBuffer, folder.substr(2, 510));  // and 511 here
}

}  // namespace
