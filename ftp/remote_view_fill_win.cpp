#include "ftp/remote_view_fill_win.h"

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
#include "ftp/remote_rows.h"
#include "ftp/transfer_progress.h"
#include "resources/resource_ids.h"

namespace {

// Redrawing of the list is off for the whole refill and comes back on whichever way the
// refill ends. The tree pauses its own, and only when the refill changes it.
class RedrawPause {
 public:
  explicit RedrawPause(HWND list) : list_(list) { SendMessageA(list_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawPause() {
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND list_;
};

}  // namespace

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

// Fills the list from a fresh listing; false when the listing failed (the list then holds
// only the parent row: a listing that broke off is never shown as the folder's content).
static bool FillFromListing(HWND listView, int fromTree, TreeCacheLineSet& treeLines) {
  RedrawPause pause(listView);
  RowWords words;
  words.file = LoadResourceText(IDS_TYPE_FILE);
  words.folder = LoadResourceText(IDS_TYPE_FOLDER);
  // A listing cut at its size limit has been reported already and shows what came.
  const bool confirmed = FetchListing() != 0;
  const bool whole = confirmed || ListingWasCut;
  if (!whole) ListingBuffer.clear();
  RemoteListIsWhole = confirmed && !ListingWasCut;
  std::vector<std::string> hidden;
  const std::vector<ListedEntry> entries = ParseListing(ListingBuffer, ListingClockNow(), &hidden);
  ListingBuffer.clear();
  ListingBuffer.shrink_to_fit();

  std::vector<ListRow> rows;
  rows.reserve(entries.size() + 1);
  rows.push_back(RemoteParentRow(words));
  EntryClassCache classes(Options, SystemTextCase());
  long n = 0;
  for (const ListedEntry& listed : entries) {
    rows.push_back(RemoteRowOfClass(listed, ++n, classes.ClassOf(listed.entry), CurrentHost.TimeLag, words));
    if ((listed.entry.attributes & 0x10) && !TreeTempPath.empty())
      treeLines.AddIfMissing(TreeTempPath, TreeCacheLineOf(CurrentRemoteFolder, listed.entry.name));
  }
  // Sorted before they go in, so the list never sorts itself on a refill.
  SortRowsForList(rows, Options.SortTypeRemote, Options.SortSubRemote == 1);
  FillListRows(listView, rows, RowRefused);
  ReportHiddenEntries(hidden);

  UpdatePaneLabels(1);
  if (fromTree == 0) RebuildRemoteTree(RemoteTree);
  return whole;
}

HWND RefreshRemoteList(HWND listView, int fromTree) {
  RemoteListIsWhole = false;
  if (!Connected) return nullptr;
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT

  TreeCacheLineSet treeLines;
  // A session whose tree cache file could not be made at login lists without one.
  if (!TreeTempPath.empty() && !treeLines.Load(TreeTempPath)) {
    RedrawPause pause(listView);
    SendMessageA(listView, LVM_DELETEALLITEMS, 0, 0);
    ShowProgramMessageBox(LoadResourceText(IDS_CANNOT_READ_TREE_CACHE), "VakoFTP", MB_OK);
    return nullptr;
  }
  if (FillFromListing(listView, fromTree, treeLines)) return listView;
  // A lost connection is told once, by whoever ends the session.
  if (!ConnectionWasLost()) ShowMessage(IDS_FAILED_LISTING);
  return nullptr;
}
