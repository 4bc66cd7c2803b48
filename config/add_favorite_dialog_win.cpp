#include "config/add_favorite_dialog_win.h"

#include "app/app_state_win.h"
#include "config/dialog_helpers_win.h"
#include "config/dialog_text.h"
#include "config/host_profile.h"
#include "resources/resource_ids.h"

namespace {
constexpr size_t kNameCapacity = 256;  // up to 255 characters, terminating zero included
}

static INT_PTR CALLBACK AddFavoriteDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        CenterOnMainWindow(dialog);
        SendDlgItemMessageA(dialog, IDC_FAVORITE_NAME, EM_LIMITTEXT, kNameCapacity - 1, 0);
        SetDlgItemTextA(dialog, IDC_FAVORITE_NAME, FitFieldText(CurrentHost.HostName, kNameCapacity).c_str());
        return TRUE;
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDOK:
            CurrentHost.HostName = FitFieldText(DialogItemText(dialog, IDC_FAVORITE_NAME), kNameCapacity);
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

INT_PTR ShowAddFavoriteDialog() {
  INT_PTR result = DialogBoxParamA(DialogResourceModule(), MAKEINTRESOURCEA(IDD_ADD_FAVORITE), MainWindow,
                                   AddFavoriteDialogProcedure, 0);
  return result == IDOK ? IDOK : IDCANCEL;
}
