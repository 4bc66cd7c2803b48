#include "config/one_field_dialog_win.h"

#include "config/dialog_helpers_win.h"
#include "config/dialog_text.h"

namespace {

struct OneField {
  int fieldId;
  size_t capacity;
  std::string* text;
};

INT_PTR CALLBACK OneFieldDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const OneField& field = *reinterpret_cast<const OneField*>(lParam);
        CenterOnMainWindow(dialog);
        SendDlgItemMessageA(dialog, field.fieldId, EM_LIMITTEXT, field.capacity - 1, 0);
        SetDlgItemTextA(dialog, field.fieldId, FitFieldText(*field.text, field.capacity).c_str());
        return TRUE;
      }
      case WM_COMMAND: {
        const OneField* field = reinterpret_cast<const OneField*>(GetWindowLongPtrA(dialog, DWLP_USER));
        switch (LOWORD(wParam)) {
          case IDOK:
            if (field) *field->text = FitFieldText(DialogItemText(dialog, field->fieldId), field->capacity);
            EndDialog(dialog, IDOK);
            return TRUE;
          case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
      }
    }
  } catch (...) {
    // Nothing may leave a dialog procedure; the dialog simply stays as it is.
  }
  return FALSE;
}

}  // namespace

INT_PTR ShowOneFieldDialog(HWND owner, int dialogId, int fieldId, size_t capacity, std::string& text) {
  std::string typed = text;
  OneField field{fieldId, capacity, &typed};
  INT_PTR result = DialogBoxParamA(DialogResourceModule(), MAKEINTRESOURCEA(dialogId), owner,
                                   OneFieldDialogProcedure, reinterpret_cast<LPARAM>(&field));
  if (result != IDOK) return IDCANCEL;
  text = typed;
  return IDOK;
}
