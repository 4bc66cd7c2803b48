#include "plugins/unlha32/rename_dialog_win.h"

#include <vector>

#include "plugins/unlha32/unlha32_texts.h"

namespace {

struct Exchange {
  const std::string* old_name;
  std::string* new_name;
};

// Builds a dialog template in memory: the library has no resources of its own.
class TemplateWriter {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const std::wstring& text) {
    for (wchar_t c : text) Word(static_cast<WORD>(c));
    Word(0);
  }
  void AlignDword() {
    if (words_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD klass,
            const std::wstring& text) {
    AlignDword();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF);
    Word(klass);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

INT_PTR CALLBACK RenameProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      const Exchange* ex = reinterpret_cast<const Exchange*>(lparam);
      SetDlgItemTextA(dialog, kRenameEditId, ex->old_name->c_str());
      SendDlgItemMessageA(dialog, kRenameEditId, EM_SETSEL, 0, -1);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        Exchange* ex = reinterpret_cast<Exchange*>(GetWindowLongPtrA(dialog, DWLP_USER));
        char text[1024] = "";
        GetDlgItemTextA(dialog, kRenameEditId, text, sizeof text);
        *ex->new_name = text;
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

bool AskMemberName(HWND owner, const std::string& old_name, std::string& new_name) {
  TemplateWriter t;
  t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(4);  // controls
  t.Word(0);
  t.Word(0);
  t.Word(230);
  t.Word(66);
  t.Word(0);  // no menu
  t.Word(0);  // standard class
  t.Text(LibraryText(IDS_LHA_RENAME_CAPTION));
  t.Word(8);
  t.Text(L"MS Shell Dlg");
  t.Item(SS_LEFT, 7, 7, 216, 10, kRenamePromptId, 0x0082, LibraryText(IDS_LHA_RENAME_PROMPT));
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 19, 216, 13, kRenameEditId, 0x0081, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 119, 43, 50, 14, IDOK, 0x0080, LibraryText(IDS_LHA_OK));
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 173, 43, 50, 14, IDCANCEL, 0x0080, LibraryText(IDS_LHA_CANCEL));
  std::string answer;
  Exchange ex = {&old_name, &answer};
  INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), owner, RenameProc,
                                           reinterpret_cast<LPARAM>(&ex));
  if (result != 1 || answer.empty()) return false;
  new_name = answer;
  return true;
}
