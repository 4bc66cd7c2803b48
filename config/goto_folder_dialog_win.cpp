#include "config/goto_folder_dialog_win.h"

#include <shellapi.h>

#include <vector>

#include "app/app_state_win.h"
#include "app/string_table_win.h"
#include "config/dialog_helpers_win.h"
#include "config/dialog_text.h"
#include "resources/resource_ids.h"

constexpr size_t kSharedNameCapacity = 512;

static void FillGoToFolderDialog(HWND dialog, int activePane) {
  CenterOnMainWindow(dialog);
  SendDlgItemMessageA(dialog, IDC_FOLDER_FIELD, EM_LIMITTEXT, kSharedNameCapacity - 1, 0);
  if (activePane == 1) {
    SetDlgItemTextA(dialog, IDC_FOLDER_FIELD, CurrentRemoteFolder.c_str());
    EnableWindow(GetDlgItem(dialog, IDC_BROWSE_FOLDER), FALSE);
  } else {
    SetDlgItemTextA(dialog, IDC_FOLDER_FIELD, CurrentLocalFolder.c_str());
  }
  DragAcceptFiles(dialog, TRUE);
}

// The first dropped item replaces the field when it is a folder, whatever other
// attributes it carries (read-only, archive, ...); anything else is ignored.
static void TakeDroppedFolder(HWND dialog, HDROP drop) {
  UINT length = DragQueryFileA(drop, 0, nullptr, 0);
  if (length > 0) {
    std::vector<char> name(length + 1, '\0');
    DragQueryFileA(drop, 0, name.data(), length + 1);
    DWORD attributes = GetFileAttributesA(name.data());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      SetDlgItemTextA(dialog, IDC_FOLDER_FIELD, name.data());
  }
  DragFinish(drop);
}

static void BrowseForTarget(HWND dialog) {
  std::string folder = DialogItemText(dialog, IDC_FOLDER_FIELD);
  std::string title = LoadResourceText(IDS_GOTO_BROWSE_TITLE);
  if (BrowseForFolder(dialog, title.c_str(), folder)) SetDlgItemTextA(dialog, IDC_FOLDER_FIELD, folder.c_str());
}

INT_PTR CALLBACK GoToFolderDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        FillGoToFolderDialog(dialog, static_cast<int>(lParam));
        return TRUE;
      case WM_DROPFILES:
        TakeDroppedFolder(dialog, reinterpret_cast<HDROP>(wParam));
        return TRUE;
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDOK:
            SharedNameBuffer = FitFieldText(DialogItemText(dialog, IDC_FOLDER_FIELD), kSharedNameCapacity);
            EndDialog(dialog, IDOK);
            return TRUE;
          case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
          case IDC_BROWSE_FOLDER:
            BrowseForTarget(dialog);
            return TRUE;
        }
        break;
    }
  } catch (...) {
    // Nothing may leave a dialog procedure; the dialog simply stays as it is.
  }
  return FALSE;
}

int ShowGoToFolderDialog(int activePane) {
  INT_PTR result = DialogBoxParamA(DialogResourceModule(), MAKEINTRESOURCEA(IDD_GOTO_FOLDER), MainWindow,
                                   GoToFolderDialogProcedure, activePane);
  return result == IDOK ? IDOK : IDCANCEL;
}
