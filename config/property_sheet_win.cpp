#include "config/property_sheet_win.h"

#include <commctrl.h>
#include <prsht.h>

#include "app/app_state_win.h"
#include "app/string_table_win.h"
#include "config/dialog_helpers_win.h"
#include "config/dialog_text.h"
#include "config/sheet_fields.h"
#include "resources/resource_ids.h"

namespace {

// Set when a page is applied: with the Apply button hidden only OK applies, and the
// sheet's own answer does not tell OK from Cancel when nothing was marked changed.
bool SheetApplied = false;

const SheetPage* PageOf(HWND page) { return reinterpret_cast<const SheetPage*>(GetWindowLongPtrA(page, DWLP_USER)); }

INT_PTR CALLBACK SheetPageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_INITDIALOG: {
        auto* pageInfo = reinterpret_cast<const SheetPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(pageInfo));
        if (pageInfo && pageInfo->fill) pageInfo->fill(page);
        return TRUE;
      }
      case WM_COMMAND: {
        const SheetPage* pageInfo = PageOf(page);
        if (pageInfo && pageInfo->command && HIWORD(wParam) == BN_CLICKED && pageInfo->command(page, LOWORD(wParam)))
          return TRUE;
        break;
      }
      case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY)) {
          const SheetPage* pageInfo = PageOf(page);
          if (pageInfo && pageInfo->apply) pageInfo->apply(page);
          SheetApplied = true;
          SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
          return TRUE;
        }
        break;
    }
  } catch (...) {
    // Nothing may leave a dialog procedure; the page simply stays as it is.
  }
  return FALSE;
}

// The sheet opens over the main window, as the program's dialogs do.
int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED) CenterOnMainWindow(sheet);
  return 0;
}

}  // namespace

INT_PTR RunPropertySheet(int captionStringId, const std::vector<SheetPage>& pages) {
  std::vector<PROPSHEETPAGEA> sheetPages(pages.size());
  for (size_t i = 0; i < pages.size(); ++i) {
    PROPSHEETPAGEA& p = sheetPages[i];
    p = PROPSHEETPAGEA{};
    p.dwSize = sizeof p;
    p.dwFlags = PSP_DEFAULT;
    p.hInstance = DialogResourceModule();
    p.pszTemplate = MAKEINTRESOURCEA(pages[i].dialogId);
    p.pfnDlgProc = SheetPageProcedure;
    p.lParam = reinterpret_cast<LPARAM>(&pages[i]);
  }
  const std::string caption = LoadResourceText(captionStringId);
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
  header.pfnCallback = SheetCallback;
  header.hwndParent = MainWindow;
  header.hInstance = DialogResourceModule();
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(sheetPages.size());
  header.nStartPage = 0;
  header.ppsp = sheetPages.data();
  SheetApplied = false;
  INT_PTR result = PropertySheetA(&header);
  const bool ok = result > 0 || (result == 0 && SheetApplied);
  SheetApplied = false;
  return ok ? IDOK : IDCANCEL;
}

void ShowText(HWND page, int id, const std::string& text, size_t capacity) {
  SendDlgItemMessageA(page, id, EM_LIMITTEXT, capacity - 1, 0);
  SetDlgItemTextA(page, id, FitFieldText(text, capacity).c_str());
}

std::string ReadText(HWND page, int id, size_t capacity) { return FitFieldText(DialogItemText(page, id), capacity); }

void ShowNumber(HWND page, int id, int value) { SetDlgItemTextA(page, id, std::to_string(value).c_str()); }

int ReadSignedNumber(HWND page, int id) { return ParseSignedField(DialogItemText(page, id)); }

int ReadUnsignedNumber(HWND page, int id) { return ParseUnsignedField(DialogItemText(page, id)); }

void ShowCheck(HWND page, int id, bool checked) { CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED); }

bool ReadCheck(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void PreparePortSpin(HWND page, int spinId) { SendDlgItemMessageA(page, spinId, UDM_SETRANGE32, 0, 65535); }

void BrowseIntoField(HWND page, int id, size_t capacity) {
  std::string folder = DialogItemText(page, id);
  if (BrowseForFolder(GetParent(page), LoadResourceText(IDS_SELECT_FOLDER).c_str(), folder)) ShowText(page, id, folder, capacity);
}
