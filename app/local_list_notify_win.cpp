// The local file list's notifications: activation, sorting by a column, opening by a
// double click, and the in-place rename of a file or folder.
#include <windows.h>
#include <commctrl.h>

#include "app/active_pane_win.h"
#include "app/app_state_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
#include "app/message_boxes_win.h"
#include "app/notify_win.h"
#include "archive/archive_browsing_win.h"
#include "config/options.h"
#include "resources/resource_ids.h"
#include "shell/context_menus_win.h"
#include "shell/drag_out_win.h"
#include "text/path_text.h"

static std::string InCurrentFolder(const std::string& name) {
  return JoinLocalPath(CurrentLocalFolder, name);
}

static void EndLocalRename(const NMLVDISPINFOA* info) {
  const int row = FindFocusedRow(LocalList);
  const std::string oldName = row >= 0 ? ListRowText(LocalList, row, 0) : "";
  LabelEditing = 0;
  if (!info->item.pszText || row < 0) return;  // cancelled
  const std::string newName = info->item.pszText;
  if (ArchiveMode) {  // an archive's members are not files of the folder
    RenameMemberFromLabel(row, oldName, newName);
    return;
  }
  if (MoveFileA(InCurrentFolder(oldName).c_str(), InCurrentFolder(newName).c_str())) {
    SetListRowText(LocalList, row, 0, newName);
  } else {
    ShowMessage(IDS_FAILED_RENAME);
  }
}

void LocalListNotify(NMHDR* header) {
  switch (header->code) {
    case LVN_COLUMNCLICK: {
      const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
      Options.SortSub = Options.SortSub == 1 ? 0 : 1;
      SortListView(LocalList, IDM_SORT_NAME + column, Options.SortSub == 1);
      Options.SortTypeLocal = IDM_SORT_NAME + column;
      if (ActivePane == 1) ActivatePane(0);
      UpdateMenuState(1);
      break;
    }
    case LVN_BEGINLABELEDITA:
      BeginListLabelEdit(LocalList, reinterpret_cast<NMLVDISPINFOA*>(header)->item.iItem);
      break;
    case LVN_ENDLABELEDITA:
      EndLocalRename(reinterpret_cast<NMLVDISPINFOA*>(header));
      break;
    case NM_DBLCLK:
      SendMessageA(MainWindow, WM_COMMAND, IDM_ENTER, 0);
      break;
    case NM_CLICK:
      if (ActivePane == 1) ActivatePane(0);
      break;
    case NM_RCLICK:  // the menu's commands act on this pane
      if (ActivePane == 1) ActivatePane(0);
      ShowListContextMenu(LocalList);
      break;
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG:
      BeginDragOut(LocalList);
      break;
  }
}
