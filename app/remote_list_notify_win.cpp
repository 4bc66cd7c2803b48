// The remote file list's notifications: activation, sorting by a column, entering a
// folder by a double click, and the in-place rename with its tree cache upkeep.
#include <windows.h>
#include <commctrl.h>

#include "app/active_pane_win.h"
#include "app/app_state_win.h"
#include "app/folder_trees_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
#include "app/message_boxes_win.h"
#include "app/notify_win.h"
#include "app/string_table_win.h"
#include "app/tree_cache.h"
#include "app/tree_cache_rename.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "app/remote_view_fill_win.h"
#include "resources/resource_ids.h"
#include "shell/context_menus_win.h"
#include "shell/drag_out_win.h"

constexpr size_t kRemoteFolderCapacity = 2048;

static void EndRemoteRename(const NMLVDISPINFOA* info) {
  const int row = FindFocusedRow(RemoteList);
  const std::string oldName = row >= 0 ? ListRowText(RemoteList, row, 0) : "";
  // The control connection belongs to a running job: no command may cross it.
  if (info->item.pszText && row >= 0 && !JobRunning) {
    const std::string newName = info->item.pszText;
    if (RenameRemote(oldName, newName)) {
      if (IsFolderRow(RemoteList, row)) {
        const std::string oldLine = TreeCacheLineOf(CurrentRemoteFolder, oldName);
        const std::string newLine = TreeCacheLineOf(CurrentRemoteFolder, newName);
        AppendTreeCacheLine(TreeTempPath, newLine);
        // The folders seen below it moved with it.
        if (!RemoveTreeCacheLine(TreeTempPath, oldLine) ||
            !RenameTreeCacheDescendantsInFile(TreeTempPath, oldLine, newLine))
          ShowProgramMessageBox(LoadResourceText(IDS_CANNOT_READ_TREE_CACHE), "VakoFTP", MB_OK);
      }
      SetListRowText(RemoteList, row, 0, newName);
      if (Options.TreeView == 1) RebuildRemoteTree(RemoteTree);
    } else {
      ShowMessage(IDS_FAILED_RENAME);
    }
  }
  LabelEditing = 0;
}

static void EnterRemoteFolderOfRow() {
  const int row = ListRowUnderMouse(RemoteList);
  if (row >= 0 && IsFolderRow(RemoteList, row) && Connected && !JobRunning) {
    const std::string name = ListRowText(RemoteList, row, 0);
    if (ChangeRemoteFolder(name)) {
      GetRemoteFolder(CurrentRemoteFolder, kRemoteFolderCapacity);
      if (Options.Sync == 1) {
        EnterLocalFolder(CurrentLocalFolder);
        EnterLocalFolder(name);  // a local side without that folder stays where it is
        RefreshLocalList(LocalList);
      }
      RefreshRemoteList(RemoteList, 0);
    } else if (!ConnectionWasLost()) {  // a lost connection is told once, on its own
      ShowMessage(IDS_FAILED_CHANGE_FOLDER);
    }
  }
  UpdateMenuState(1);
}

void RemoteListNotify(NMHDR* header) {
  switch (header->code) {
    case LVN_COLUMNCLICK: {
      const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
      Options.SortSubRemote = Options.SortSubRemote == 1 ? 0 : 1;
      SortListView(RemoteList, IDM_SORT_NAME + column, Options.SortSubRemote == 1);
      Options.SortTypeRemote = IDM_SORT_NAME + column;
      if (ActivePane == 0) ActivatePane(1);
      UpdateMenuState(1);
      break;
    }
    case LVN_BEGINLABELEDITA:
      BeginListLabelEdit(RemoteList, reinterpret_cast<NMLVDISPINFOA*>(header)->item.iItem);
      break;
    case LVN_ENDLABELEDITA:
      EndRemoteRename(reinterpret_cast<NMLVDISPINFOA*>(header));
      break;
    case NM_DBLCLK:
      EnterRemoteFolderOfRow();
      break;
    case NM_CLICK:
      if (ActivePane == 0) ActivatePane(1);
      break;
    case NM_RCLICK:
      if (ActivePane == 0) ActivatePane(1);
      ShowListContextMenu(RemoteList);
      break;
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG:
      BeginDragOut(RemoteList);
      break;
  }
}
