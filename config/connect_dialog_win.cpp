#include "config/connect_dialog_win.h"

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "config/connect_fields.h"
#include "config/dialog_helpers_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "resources/resource_ids.h"

static void LimitField(HWND dialog, int id, const char* key) {
  const SettingKey* setting = FindSettingKey(key);
  if (setting) SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, setting->capacity - 1, 0);
}

static void FillConnectDialog(HWND dialog) {
  CenterOnMainWindow(dialog);
  LimitField(dialog, IDC_HOST_NAME, "HostName");
  LimitField(dialog, IDC_HOST_ADDRESS, "HostAddr");
  LimitField(dialog, IDC_LOGIN_NAME, "UserID");
  LimitField(dialog, IDC_PASSWORD, "UserPass");
  SetDlgItemTextA(dialog, IDC_HOST_NAME, Options.HostName.c_str());
  SetDlgItemTextA(dialog, IDC_HOST_ADDRESS, Options.HostAddr.c_str());
  SetDlgItemTextA(dialog, IDC_LOGIN_NAME, Options.UserID.c_str());
  // The saved password is shown only while the user asked for it to be kept.
  if (Options.SavePass == 1) {
    SetDlgItemTextA(dialog, IDC_PASSWORD, Options.UserPass.c_str());
    CheckDlgButton(dialog, IDC_SAVE_PASSWORD, BST_CHECKED);
  }
  CheckRadioButton(dialog, IDC_SECURITY_NONE, IDC_SECURITY_IMPLICIT, IDC_SECURITY_NONE + ValidSecurity(Options.Security));
}

static void PressConnect(HWND dialog) {
  ConnectFields typed;
  typed.hostName = DialogItemText(dialog, IDC_HOST_NAME);
  typed.hostAddr = DialogItemText(dialog, IDC_HOST_ADDRESS);
  typed.userId = DialogItemText(dialog, IDC_LOGIN_NAME);
  typed.userPass = DialogItemText(dialog, IDC_PASSWORD);
  typed.savePass = IsDlgButtonChecked(dialog, IDC_SAVE_PASSWORD) == BST_CHECKED;
  typed.security = IsDlgButtonChecked(dialog, IDC_SECURITY_EXPLICIT) == BST_CHECKED   ? kSecurityExplicitTls
                   : IsDlgButtonChecked(dialog, IDC_SECURITY_IMPLICIT) == BST_CHECKED ? kSecurityImplicitTls
                                                                                      : kSecurityNone;
  int missing = ApplyConnectFields(typed, Options);
  if (missing) {
    ShowProgramMessageBox(LoadResourceText(missing), VAKO_CAPTION, MB_OK);
    return;  // the dialog stays open
  }
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK ConnectDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        FillConnectDialog(dialog);
        return TRUE;
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDOK:
            PressConnect(dialog);
            return TRUE;
          case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
          case IDC_ANONYMOUS:
            SetDlgItemTextA(dialog, IDC_LOGIN_NAME, "anonymous");
            SetDlgItemTextA(dialog, IDC_PASSWORD, Options.EMail.c_str());
            return TRUE;
        }
        break;
    }
  } catch (...) {
    // Nothing may leave a dialog procedure; the dialog simply stays as it is.
  }
  return FALSE;
}

int ShowConnectDialog() {
  INT_PTR result = DialogBoxParamA(DialogResourceModule(), MAKEINTRESOURCEA(IDD_CONNECT), MainWindow,
                                   ConnectDialogProcedure, 0);
  return result == IDOK ? IDOK : IDCANCEL;
}
