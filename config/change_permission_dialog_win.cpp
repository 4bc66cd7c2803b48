#include "config/change_permission_dialog_win.h"

#include "app/app_state_win.h"
#include "config/dialog_helpers_win.h"
#include "config/dialog_text.h"
#include "resources/resource_ids.h"

namespace {
constexpr size_t kSharedNameCapacity = 512;  // SharedNameBuffer's size, terminating zero included
}

INT_PTR CALLBACK ChangePermissionDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        CenterOnMainWindow(dialog);
        SendDlgItemMessageA(dialog, IDC_PERMISSION_FIELD, EM_LIMITTEXT, kSharedNameCapacity - 1, 0);
        return TRUE;
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDOK:
            SharedNameBuffer = FitFieldText(DialogItemText(dialog, IDC_PERMISSION_FIELD), kSharedNameCapacity);
            EndDialog(dialog, IDOK);
            return TRUE;
          case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
  } catch (...) {
    // Nothing may leave a dialog procedure; the dialog simply stays as it is.
  }
  return FALSE;
}

int ShowChangePermissionDialog(HWND owner) {
  INT_PTR result = DialogBoxParamA(DialogResourceModule(), MAKEINTRESOURCEA(IDD_CHANGE_PERMISSION), owner,
                                   ChangePermissionDialogProcedure, 0);
  return result == IDOK ? IDOK : IDCANCEL;
}
