#include "app/remote_view_fill_win.h"

#include <commctrl.h>

#include <vector>

#include "app/app_state_win.h"
#include "app/folder_trees_win.h"
#include "app/list_rows_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "app/system_text_case_win.h"
#include "app/tree_cache.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/data_connection_win.h"
#include "ftp/engine_display_win.h"
#include "ftp/listing_parser.h"
#include "ftp/protocol_log_win.h"
#include "ftp/remote_folder_listing_win.h"
#include "ftp/remote_rows.h"
#include "ftp/transfer_progress.h"
#include "resources/resource_ids.h"

bool RemoteListIsWhole = false;

static void RowRefused() {
  RemoteListIsWhole = false;
  ShowMessage(IDS_OUT_OF_MEMORY);
}

// Entries left out because their names cannot be used here do not vanish unseen: the
// status bar says how many, and the protocol log names them (control bytes as '?', so that
// no name can add a line of its own).
static void ReportHiddenEntries(const std::vector<std::string>& hidden) {
  if (hidden.empty()) return;
  for (std::string name : hidden) {
    for (char& c : name)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    WriteProtocolLog("(not shown) " + name, 1);
  }
  ShowStatusText(FormatWithName(LoadResourceText(IDS_HIDDEN_ENTRIES), std::to_string(hidden.size())));
}

// Shows a listed folder in the list, sorted there, and keeps the tree cache up with its
// sub-folders.
static void ShowView(HWND listView, int fromTree, RemoteFolderView& view, TreeCacheLineSet& treeLines) {
  if (!TreeTempPath.empty())
    for (const std::string& name : view.subFolders) treeLines.AddIfMissing(TreeTempPath, TreeCacheLineOf(view.folder, name));
  // Sorted before they go in, so the list never sorts itself on a refill.
  SortRowsForList(view.rows, Options.SortTypeRemote, Options.SortSubRemote == 1);
  RemoteListIsWhole = view.whole;
  FillListRows(listView, view.rows, RowRefused);
  UpdatePaneLabels(1);
  if (fromTree == 0) RebuildRemoteTree(RemoteTree);
}

// Fills the list from a fresh listing; false when the listing failed (the list then holds
// only the parent row: a listing that broke off is never shown as the folder's content).
static bool FillFromListing(HWND listView, int fromTree, TreeCacheLineSet& treeLines) {
  RemoteFolderView view;
  std::vector<std::string> hidden;
  const bool listed = ListRemoteFolder(CurrentRemoteFolder, view, &hidden);
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
  ShowView(listView, fromTree, view, treeLines);
  ReportHiddenEntries(hidden);
  return listed;
}

void ShowJobRemoteView(RemoteFolderView view) {
  CurrentRemoteFolder = view.folder;
  TreeCacheLineSet treeLines;
  if (!TreeTempPath.empty() && !treeLines.Load(TreeTempPath)) view.subFolders.clear();
  ShowView(RemoteList, 0, view, treeLines);
}

HWND RefreshRemoteList(HWND listView, int fromTree) {
  RemoteListIsWhole = false;
  if (!Connected) return nullptr;
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT

  TreeCacheLineSet treeLines;
  // A session whose tree cache file could not be made at login lists without one.
  if (!TreeTempPath.empty() && !treeLines.Load(TreeTempPath)) {
    SendMessageA(listView, LVM_DELETEALLITEMS, 0, 0);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    ShowProgramMessageBox(LoadResourceText(IDS_CANNOT_READ_TREE_CACHE), "VakoFTP", MB_OK);
    return nullptr;
  }
  if (FillFromListing(listView, fromTree, treeLines)) return listView;
  // A lost connection is told once, by whoever ends the session.
  if (!ConnectionWasLost()) ShowMessage(IDS_FAILED_LISTING);
  return nullptr;
}
