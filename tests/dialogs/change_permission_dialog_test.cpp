// Change permission (dialog 177): the mode text for SITE CHMOD, handed on in SharedNameBuffer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/app_state_win.h"
#include "config/change_permission_dialog_win.h"
#include "dialog_driver_win.h"
#include "resources/resource_ids.h"

namespace {

class ChangePermission : public ::testing::Test {
 protected:
  void SetUp() override { SharedNameBuffer = "untouched"; }
  StandInMainWindow main_{-40, 30, 701, 481};  // partly off the screen, odd sizes
};

// Types `text` into the focused field the way the keyboard does: through the edit
// control, so that its limit applies.
void TypeInto(HWND dialog, int id, const std::string& text) {
  HWND field = GetDlgItem(dialog, id);
  SendMessageA(field, EM_SETSEL, 0, -1);
  SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

TEST_F(ChangePermission, ShowsItsTextsCentredOverTheMainWindowAndOkHandsTheTypedTextOnUnchanged) {
  DialogDriver driver({[&](HWND d) {
    EXPECT_EQ(Text(d), "Change permission");
    EXPECT_NE(FindChildWithText(d, "Change permission.Give three numbers"), nullptr);
    EXPECT_NE(FindChildWithText(d, "i.e. : 755  ,  644 etc."), nullptr);
    EXPECT_NE(FindChildWithText(d, "Permission :"), nullptr);
    EXPECT_EQ(ItemText(d, IDOK), "OK");
    EXPECT_EQ(ItemText(d, IDCANCEL), "Cancel");
    EXPECT_EQ(ItemText(d, IDC_PERMISSION_FIELD), "");
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_PERMISSION_FIELD, EM_GETLIMITTEXT, 0, 0), 511);
    EXPECT_EQ(GetWindow(d, GW_OWNER), main_.handle());
    RECT m, r;
    GetWindowRect(main_.handle(), &m);
    GetWindowRect(d, &r);
    EXPECT_EQ(r.left, m.left + (m.right - m.left) / 2 - (r.right - r.left) / 2);
    EXPECT_EQ(r.top, m.top + (m.bottom - m.top) / 2 - (r.bottom - r.top) / 2);
    TypeInto(d, IDC_PERMISSION_FIELD, "755");
    SaveScreenshot(d, "dialog-change-permission-en");
    // not checked, not trimmed: whatever is typed goes to the server as it is
    TypeInto(d, IDC_PERMISSION_FIELD, " 0644 x ");
    Click(d, IDOK);
  }});
  EXPECT_EQ(ShowChangePermissionDialog(main_.handle()), IDOK);
  EXPECT_EQ(SharedNameBuffer, " 0644 x ");
}

TEST_F(ChangePermission, OkHandsOnAnEmptyField) {
  DialogDriver driver({[&](HWND d) { Click(d, IDOK); }});
  EXPECT_EQ(ShowChangePermissionDialog(main_.handle()), IDOK);
  EXPECT_EQ(SharedNameBuffer, "");
}

TEST_F(ChangePermission, OkHandsOnA511ByteTextWhole) {
  const std::string text = "7" + std::string(509, '5') + "x";
  ASSERT_EQ(text.size(), 511u);
  DialogDriver driver({[&](HWND d) {
    TypeInto(d, IDC_PERMISSION_FIELD, text);
    EXPECT_EQ(ItemText(d, IDC_PERMISSION_FIELD), text);
    Click(d, IDOK);
  }});
  EXPECT_EQ(ShowChangePermissionDialog(main_.handle()), IDOK);
  EXPECT_EQ(SharedNameBuffer, text);
}

TEST_F(ChangePermission, ALongerTextIsCutAt511Bytes) {
  const std::string text = "644" + std::string(597, 'y');
  {
    // typed: the field takes no more than 511
    DialogDriver driver({[&](HWND d) {
      TypeInto(d, IDC_PERMISSION_FIELD, text);
      EXPECT_EQ(ItemText(d, IDC_PERMISSION_FIELD), text.substr(0, 511));
      Click(d, IDOK);
    }});
    EXPECT_EQ(ShowChangePermissionDialog(main_.handle()), IDOK);
    EXPECT_EQ(SharedNameBuffer, text.substr(0, 511));
  }
  SharedNameBuffer = "untouched";
  {
    // set past the field's limit (WM_SETTEXT ignores it): OK still keeps 511 bytes
    DialogDriver driver({[&](HWND d) {
      SetItemText(d, IDC_PERMISSION_FIELD, text);
      Click(d, IDOK);
    }});
    EXPECT_EQ(ShowChangePermissionDialog(main_.handle()), IDOK);
    EXPECT_EQ(SharedNameBuffer, text.substr(0, 511));
  }
}

TEST_F(ChangePermission, CancelLeavesTheBufferAsItWas) {
  DialogDriver driver({[&](HWND d) {
    TypeInto(d, IDC_PERMISSION_FIELD, "777");
    Click(d, IDCANCEL);
  }});
  EXPECT_EQ(ShowChangePermissionDialog(main_.handle()), IDCANCEL);
  EXPECT_EQ(SharedNameBuffer, "untouched");
}

TEST_F(ChangePermission, ADialogThatCannotOpenCountsAsCancel) {
  // A resource module without dialog 177 makes the dialog fail to open.
  HINSTANCE saved = InstanceHandle;
  HMODULE other = GetModuleHandleA("kernel32.dll");
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(FindResourceA(other, MAKEINTRESOURCEA(IDD_CHANGE_PERMISSION), reinterpret_cast<LPCSTR>(RT_DIALOG)),
            nullptr);
  InstanceHandle = other;
  int answer = ShowChangePermissionDialog(main_.handle());
  InstanceHandle = saved;
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_EQ(SharedNameBuffer, "untouched");
}

}  // namespace
