// The Connect dialog, opened modally as the Connect command opens it and driven from its
// own message loop.
#include <gtest/gtest.h>

#include "app/app_state_win.h"
#include "config/connect_dialog_win.h"
#include "config/options.h"
#include "dialog_driver_win.h"
#include "resources/resource_ids.h"
#include "support/message_box_recorder_win.h"

namespace {

class ConnectDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    Options = OptionsRecord();
    Options.HostName = "Home server";
    Options.HostAddr = "ftp.example.org";
    Options.UserID = "alice";
    Options.UserPass = "secret";
    Options.EMail = "guest@example.net";
    Options.SavePass = 1;
  }
  StandInMainWindow main_{120, 90, 640, 420};
  MessageBoxRecorder boxes_;
};

void ExpectSameConnectFields(const OptionsRecord& a, const OptionsRecord& b) {
  EXPECT_EQ(a.HostName, b.HostName);
  EXPECT_EQ(a.HostAddr, b.HostAddr);
  EXPECT_EQ(a.UserID, b.UserID);
  EXPECT_EQ(a.UserPass, b.UserPass);
  EXPECT_EQ(a.SavePass, b.SavePass);
}

TEST_F(ConnectDialog, OpensCentredWithTheSavedFieldsAndShowsThePasswordOnlyWhenKept) {
  const OptionsRecord before = Options;
  int result = 0;
  {
    DialogDriver driver({[&](HWND d) {
      EXPECT_EQ(Text(d), "Connect");
      EXPECT_EQ(ItemText(d, IDC_HOST_NAME), "Home server");
      EXPECT_EQ(ItemText(d, IDC_HOST_ADDRESS), "ftp.example.org");
      EXPECT_EQ(ItemText(d, IDC_LOGIN_NAME), "alice");
      EXPECT_EQ(ItemText(d, IDC_PASSWORD), "secret");
      EXPECT_EQ(IsDlgButtonChecked(d, IDC_SAVE_PASSWORD), static_cast<UINT>(BST_CHECKED));
      EXPECT_TRUE(GetWindowLongA(GetDlgItem(d, IDC_PASSWORD), GWL_STYLE) & ES_PASSWORD);
      // centred: left = main centre - half the width, each half rounded toward zero
      RECT m, r;
      GetWindowRect(main_.handle(), &m);
      GetWindowRect(d, &r);
      EXPECT_EQ(r.left, m.left + (m.right - m.left) / 2 - (r.right - r.left) / 2);
      EXPECT_EQ(r.top, m.top + (m.bottom - m.top) / 2 - (r.bottom - r.top) / 2);
      SaveScreenshot(d, "dialog-connect-en");
      Click(d, IDCANCEL);
    }});
    result = ShowConnectDialog();
  }
  EXPECT_EQ(result, IDCANCEL);
  ExpectSameConnectFields(Options, before);

  Options.SavePass = 0;
  {
    DialogDriver driver({[&](HWND d) {
      EXPECT_EQ(ItemText(d, IDC_LOGIN_NAME), "alice");
      EXPECT_EQ(ItemText(d, IDC_PASSWORD), "");
      EXPECT_EQ(IsDlgButtonChecked(d, IDC_SAVE_PASSWORD), static_cast<UINT>(BST_UNCHECKED));
      Click(d, IDCANCEL);
    }});
    result = ShowConnectDialog();
  }
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(Options.UserPass, "secret");
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(ConnectDialog, ChecksAddressThenLoginNameThenPasswordKeepingWhatPassedBeforeAFailure) {
  int result = 0;
  {
    DialogDriver driver({[&](HWND d) {
      for (int id : {IDC_HOST_NAME, IDC_HOST_ADDRESS, IDC_LOGIN_NAME, IDC_PASSWORD}) SetItemText(d, id, "");
      Click(d, IDOK);
      ASSERT_EQ(boxes_.boxes().size(), 1u);
      EXPECT_EQ(boxes_.boxes()[0].text, "Type in your host address");
      EXPECT_EQ(boxes_.boxes()[0].caption, "Vako FTP");
      EXPECT_EQ(boxes_.boxes()[0].style, static_cast<unsigned>(MB_OK));  // plain: no icon
      EXPECT_TRUE(IsOpen(d));
      EXPECT_EQ(Options.HostAddr, "ftp.example.org");

      SetItemText(d, IDC_HOST_ADDRESS, "192.0.2.7");
      Click(d, IDOK);
      ASSERT_EQ(boxes_.boxes().size(), 2u);
      EXPECT_EQ(boxes_.boxes()[1].text, "Type in your login name");
      EXPECT_TRUE(IsOpen(d));
      EXPECT_EQ(Options.HostAddr, "192.0.2.7");  // stored before the failing check
      EXPECT_EQ(Options.UserID, "alice");

      SetItemText(d, IDC_LOGIN_NAME, "bob");
      Click(d, IDOK);
      ASSERT_EQ(boxes_.boxes().size(), 3u);
      EXPECT_EQ(boxes_.boxes()[2].text, "Type in your login password");
      EXPECT_TRUE(IsOpen(d));
      EXPECT_EQ(Options.UserID, "bob");
      EXPECT_EQ(Options.HostName, "Home server");  // only taken once everything is there

      SetItemText(d, IDC_PASSWORD, "pw");
      CheckDlgButton(d, IDC_SAVE_PASSWORD, BST_UNCHECKED);
      Click(d, IDOK);  // an empty host name is allowed
      EXPECT_FALSE(IsOpen(d));
    }});
    result = ShowConnectDialog();
  }
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(boxes_.boxes().size(), 3u);
  EXPECT_EQ(Options.HostName, "");
  EXPECT_EQ(Options.HostAddr, "192.0.2.7");
  EXPECT_EQ(Options.UserID, "bob");
  EXPECT_EQ(Options.UserPass, "pw");
  EXPECT_EQ(Options.SavePass, 0);
}

TEST_F(ConnectDialog, AnonymousFillsLoginAndEMailAndCancelForgetsEverythingTyped) {
  const OptionsRecord before = Options;
  int result = 0;
  {
    DialogDriver driver({[&](HWND d) {
      Click(d, IDC_ANONYMOUS);
      EXPECT_EQ(ItemText(d, IDC_LOGIN_NAME), "anonymous");
      EXPECT_EQ(ItemText(d, IDC_PASSWORD), "guest@example.net");
      SetItemText(d, IDC_HOST_NAME, "Other");
      SetItemText(d, IDC_HOST_ADDRESS, "other.example");
      CheckDlgButton(d, IDC_SAVE_PASSWORD, BST_UNCHECKED);
      Click(d, IDCANCEL);
    }});
    result = ShowConnectDialog();
  }
  EXPECT_EQ(result, IDCANCEL);
  ExpectSameConnectFields(Options, before);

  {
    DialogDriver driver({[&](HWND d) {
      Click(d, IDC_ANONYMOUS);
      Click(d, IDOK);
    }});
    result = ShowConnectDialog();
  }
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Options.UserID, "anonymous");
  EXPECT_EQ(Options.UserPass, "guest@example.net");
  EXPECT_EQ(Options.SavePass, 1);
}

TEST_F(ConnectDialog, LongTextsAreKeptToTheCapacityOfTheirSettings) {
  DialogDriver driver({[&](HWND d) {
    SetItemText(d, IDC_HOST_NAME, std::string(300, 'n'));
    SetItemText(d, IDC_HOST_ADDRESS, std::string(300, 'a'));
    SetItemText(d, IDC_LOGIN_NAME, std::string(300, 'u'));
    SetItemText(d, IDC_PASSWORD, std::string(300, 'p'));
    Click(d, IDOK);
  }});
  EXPECT_EQ(ShowConnectDialog(), IDOK);
  EXPECT_EQ(Options.HostName, std::string(255, 'n'));
  EXPECT_EQ(Options.HostAddr, std::string(127, 'a'));
  EXPECT_EQ(Options.UserID, std::string(127, 'u'));
  EXPECT_EQ(Options.UserPass, std::string(127, 'p'));
}

}  // namespace
