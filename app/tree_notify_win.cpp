// Clicks in the two folder trees, and their selection moved by the keyboard, change the
// folder of their pane; a tree that takes the focus makes its pane the active one, so that
// keys such as Delete and F2 act on the pane the user is in.
#include <windows.h>
#include <commctrl.h>

#include "app/active_pane_win.h"
#include "app/app_state_win.h"
#include "app/folder_trees_win.h"
#include "app/image_lists_win.h"
#include "app/local_tree_paths.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
#include "app/message_boxes_win.h"
#include "app/notify_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "app/remote_view_fill_win.h"
#include "resources/resource_ids.h"
#include "shell/context_menus_win.h"

constexpr size_t kRemoteFolderCapacity = 2048;

// The item under the mouse position of the message being handled, when the position is
// on the item's icon or label.
static HTREEITEM TreeItemUnderMouse(HWND tree) {
  DWORD at = GetMessagePos();
  TVHITTESTINFO hit{};
  hit.pt.x = static_cast<short>(LOWORD(at));
  hit.pt.y = static_cast<short>(HIWORD(at));
  ScreenToClient(tree, &hit.pt);
  HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return item && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)) ? item : nullptr;
}

// The shell's menu of the folder under the cursor.
static void ShowLocalTreeShellMenu() {
  HTREEITEM item = TreeItemUnderMouse(LocalTree);
  if (!item) return;
  const std::string path = item == TVI_ROOT || item == LocalTreeRoot ? "\\" : LocalPathOfTreeItem(LocalTree, item);
  const DWORD at = GetMessagePos();
  const POINT screen{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  ShowShellContextMenu(MainWindow, screen, FolderOfPath(path), TreeItemText(LocalTree, item));
}

// The item a click or a keyboard move chose; null for anything else.
static HTREEITEM ChosenTreeItem(HWND tree, NMHDR* header) {
  if (header->code == NM_CLICK) return TreeItemUnderMouse(tree);
  if (header->code == TVN_SELCHANGEDA) {
    const NMTREEVIEWA* change = reinterpret_cast<NMTREEVIEWA*>(header);
    if (change->action == TVC_BYKEYBOARD) return change->itemNew.hItem;
  }
  return nullptr;
}

static void MakeTreePaneActive(int pane) {
  if (ActivePane == pane) return;
  ActivatePane(pane);
  UpdatePaneLabels(1);
}

void LocalTreeNotify(NMHDR* header) {
  if (header->code == NM_SETFOCUS) MakeTreePaneActive(0);
  if (header->code == NM_RCLICK) ShowLocalTreeShellMenu();
  // The local pane follows a running job: it keeps its folder until the job has ended.
  if (JobRunning) return;
  HTREEITEM item = ChosenTreeItem(LocalTree, header);
  if (!item) return;
  std::string path = item == TVI_ROOT || item == LocalTreeRoot ? "\\" : LocalPathOfTreeItem(LocalTree, item);
  if (path.size() == 2) path += "\\";  // a drive such as C: means its root
  if (!EnterLocalFolder(path)) {
    ShowMessage(IDS_FAILED_CHANGE_FOLDER);
    return;
  }
  CurrentLocalFolder = ProcessCurrentFolder();
  if (ArchiveMode) {
    ArchiveMode = 0;
    ApplyIconSet(LocalList);
  }
  RefreshLocalList(LocalList);
  UpdateMenuState(1);
}

void RemoteTreeNotify(NMHDR* header) {
  if (header->code == NM_SETFOCUS) MakeTreePaneActive(1);
  if (JobRunning) return;
  HTREEITEM item = ChosenTreeItem(RemoteTree, header);
  if (!item) return;
  std::string path = item == TVI_ROOT || item == RemoteTreeRoot ? "/" : RemotePathOfTreeItem(RemoteTree, item);
  if (ChangeRemoteFolder(path)) {
    // A folder that could not be entered leaves CurrentRemoteFolder naming the folder
    // still shown, so the captions and the tree cache lines stay right.
    CurrentRemoteFolder = path;
    GetRemoteFolder(CurrentRemoteFolder, kRemoteFolderCapacity);
    RefreshRemoteList(RemoteList, 1);
  } else if (!ConnectionWasLost()) {  // a lost connection is told once, on its own
    ShowMessage(IDS_FAILED_CHANGE_FOLDER);
  }
  UpdateMenuState(1);
}
