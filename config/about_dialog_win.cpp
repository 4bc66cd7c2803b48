#include "config/about_dialog_win.h"

#include "app/app_state_win.h"
#include "config/dialog_helpers_win.h"
#include "resources/resource_ids.h"

INT_PTR CALLBACK AboutDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CenterOnMainWindow(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

void ShowAboutDialog() {
  DialogBoxParamA(DialogResourceModule(), MAKEINTRESOURCEA(IDD_ABOUT), MainWindow, AboutDialogProcedure, 0);
}
