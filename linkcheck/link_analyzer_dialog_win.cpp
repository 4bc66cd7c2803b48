#include "linkcheck/link_analyzer_dialog_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "app/list_rows_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/shell_open_win.h"
#include "app/string_table_win.h"
#include "app/system_text_case_win.h"
#include "config/dialog_helpers_win.h"
#include "linkcheck/html_file_scan_win.h"
#include "linkcheck/link_rows.h"
#include "resources/resource_ids.h"
#include "shell/context_menus_win.h"

namespace {

void SetStatusText(const std::string& text) {
  if (StatusBar) SendMessageA(StatusBar, SB_SETTEXTA, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text.c_str()));
}

void ScanSelectedFiles(HWND list) {
  if (!LocalList) return;
  // Names and links are relative to the folder the local pane shows; a job may have left
  // the process elsewhere.
  if (!CurrentLocalFolder.empty()) SetCurrentDirectoryA(CurrentLocalFolder.c_str());
  const int count = ListRowCount(LocalList);
  for (int row = 0; row < count; ++row) {
    if (!(SendMessageA(LocalList, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED)) continue;
    ScanHtmlFile(ListRowText(LocalList, row, 0), list);
  }
}

// The column's texts by sort key, each as the system's case-insensitive sort key.
struct SortTexts {
  std::vector<std::string> byKey;
};

int CALLBACK CompareByKey(LPARAM a, LPARAM b, LPARAM texts) {
  const std::vector<std::string>& byKey = reinterpret_cast<const SortTexts*>(texts)->byKey;
  const size_t x = static_cast<size_t>(a), y = static_cast<size_t>(b);
  if (x >= byKey.size() || y >= byKey.size()) return 0;
  return byKey[x].compare(byKey[y]);
}

// Always ascending, by the whole text, letter case not counting.
void SortByColumn(HWND list, int column) {
  if (column < 0 || column > 3) return;
  SortTexts texts;
  const int count = ListRowCount(list);
  texts.byKey.resize(static_cast<size_t>(count));
  for (int row = 0; row < count; ++row) {
    long key = ListRowKey(list, row);
    if (key >= 0 && key < count) texts.byKey[static_cast<size_t>(key)] = SystemSortKey(ListRowText(list, row, column));
  }
  SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&texts), reinterpret_cast<LPARAM>(CompareByKey));
}

// A link to a program in a page may come from anyone: it runs only when the user says so.
void OpenFocusedLink(HWND dialog, HWND list) {
  int row = FindFocusedRow(list);
  if (row < 0) return;
  const std::string link = ListRowText(list, row, 0);
  if (LinkRunsProgram(link)) {
    char text[1024];
    std::snprintf(text, sizeof text, LoadResourceText(IDS_ASK_RUN_LINKED_PROGRAM).c_str(), link.c_str());
    if (ShowOwnedMessageBox(dialog, text, VAKO_CAPTION, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) return;
  }
  ShellOpen(OpenTargetOfLink(link, CurrentLocalFolder, ListRowText(list, row, 2)), "");
}

// A double click on a row's label or icon opens its link; elsewhere it does nothing.
void DoubleClicked(HWND dialog, const NMITEMACTIVATE* click) {
  LVHITTESTINFO hit{};
  hit.pt = click->ptAction;
  SendMessageA(click->hdr.hwndFrom, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.iItem >= 0 && (hit.flags & (LVHT_ONITEMLABEL | LVHT_ONITEMICON)))
    SendMessageA(dialog, WM_COMMAND, IDM_OPEN_URL, 0);
}

// Menu 179 at the cursor; its "&Open URL" comes back to the dialog as 40103.
void RightClicked(HWND dialog) {
  const DWORD at = GetMessagePos();
  POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  ScreenToClient(dialog, &point);
  ShowContextMenu(dialog, point, IDR_LINK_LIST_MENU);
}

}  // namespace

INT_PTR CALLBACK LinkAnalyzerDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_INITDIALOG: {
        CenterOnMainWindow(dialog);
        SetStatusText(LoadResourceText(IDS_ANALYZING));
        if (StatusBar) UpdateWindow(StatusBar);
        HWND list = GetDlgItem(dialog, IDC_LINK_LIST);
        InsertLinkColumns(list);
        ScanSelectedFiles(list);
        SetStatusText("");
        return TRUE;
      }
      case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_LINK_LIST) break;
        if (header->code == LVN_COLUMNCLICK)
          SortByColumn(header->hwndFrom, reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        else if (header->code == NM_DBLCLK)
          DoubleClicked(dialog, reinterpret_cast<const NMITEMACTIVATE*>(lParam));
        else if (header->code == NM_RCLICK)
          RightClicked(dialog);
        return TRUE;
      }
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDOK: EndDialog(dialog, 1); return TRUE;
          case IDCANCEL: EndDialog(dialog, 0); return TRUE;
          case IDM_OPEN_URL: OpenFocusedLink(dialog, GetDlgItem(dialog, IDC_LINK_LIST)); return TRUE;
        }
        break;
    }
  } catch (...) {
    // Nothing may leave a dialog procedure; the list keeps what it has.
  }
  return FALSE;
}

int AnalyzeLinks(HWND owner) {
  INT_PTR result = DialogBoxParamA(DialogResourceModule(), MAKEINTRESOURCEA(IDD_LINK_ANALYZER), owner,
                                   LinkAnalyzerDialogProcedure, 0);
  // A failure to open counts as closed.
  return result == 1 ? 1 : 0;
}
