#include "app/list_views_win.h"

#include <commctrl.h>

#include "app/app_state_win.h"
#include "app/command_table.h"
#include "app/image_lists_win.h"
#include "app/main_window_win.h"
#include "app/string_table_win.h"
#include "config/options.h"
#include "resources/resource_ids.h"

static bool AddColumns(HWND list, const int* widths) {
  for (int i = 0; i < 5; ++i) {
    std::string header = LoadResourceText(IDS_COLUMN_NAME + i);
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = widths[i];
    column.pszText = const_cast<char*>(header.c_str());
    column.iSubItem = i;
    if (SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column)) < 0) return false;
  }
  return true;
}

static HWND CreateFileList(HWND parent, int id, DWORD style, int x, int y, int width, int height,
                           const int* widths) {
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, x, y, width < 0 ? 0 : width,
                              height < 0 ? 0 : height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              InstanceHandle, nullptr);
  if (!list) return nullptr;
  if (Options.Wide == 1) SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  if (!AddColumns(list, widths)) {
    DestroyWindow(list);
    return nullptr;
  }
  return list;
}

HWND CreateLocalList(HWND parent, int x, int y, int width, int height) {
  // Both lists share the icon lists: they belong to the main window, not to a list.
  DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_EDITLABELS | LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS |
                ListViewStyleOfCommand(Options.LocalListType);
  HWND list = CreateFileList(parent, kLocalListId, style, x, y, width, height, Options.LocalColumn);
  if (list) ApplyIconSet(list);
  return list;
}

HWND CreateRemoteList(HWND parent, int x, int y, int width, int height) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_EDITLABELS | LVS_REPORT | LVS_SHAREIMAGELISTS;
  HWND list = CreateFileList(parent, kRemoteListId, style, x, y, width, height, Options.RemColumn);
  if (list) {
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(OwnSmallIcons));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(OwnLargeIcons));
  }
  return list;
}

void ApplyViewStyle(HWND list, int command) {
  LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
  LONG_PTR view = ListViewStyleOfCommand(command);
  if ((style & LVS_TYPEMASK) != view) SetWindowLongPtrA(list, GWL_STYLE, (style & ~LVS_TYPEMASK) | view);
}

bool IsDetailsView(HWND list) { return (GetWindowLongPtrA(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT; }

int ColumnWidth(HWND list, int column) {
  return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
}
