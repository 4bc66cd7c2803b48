#include "app/local_listing_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "app/app_state_win.h"
#include "app/folder_trees_win.h"
#include "app/image_lists_win.h"
#include "app/list_rows_win.h"
#include "app/local_folder_read_win.h"
#include "app/local_rows.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "app/system_text_case_win.h"
#include "archive/archive_browsing_win.h"
#include "config/options.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

int ArchiveMode = 0;
std::string ArchivePath;
bool LocalListIsWhole = false;

std::string ProcessCurrentFolder() {
  DWORD size = GetCurrentDirectoryA(0, nullptr);
  if (size == 0) return "";
  std::vector<char> buffer(size + 1);
  DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  return std::string(buffer.data(), length < buffer.size() ? length : 0);
}

int EnterLocalFolder(const std::string& folder) { return SetCurrentDirectoryA(folder.c_str()) ? 1 : 0; }

int RefreshLocalList(HWND list) { return ShowLocalFolder(list, ProcessCurrentFolder()); }

int ShowLocalFolder(HWND list, const std::string& folder) {
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  ApplyIconSet(list);
  CurrentLocalFolder = folder;

  std::vector<LocalFileFacts> items;
  std::vector<ListRow> rows;
  if (ArchiveMode == 1) {
    LocalListIsWhole = ListArchive(rows);
    SortRowsForList(rows, Options.SortTypeLocal, Options.SortSub == 1);
  } else if ((LocalListIsWhole = ReadLocalFolder(CurrentLocalFolder, items, Options.DetailExt == 1 || Options.DetailIcon == 1))) {
    RowWords words;
    words.file = LoadResourceText(IDS_TYPE_FILE);
    words.folder = LoadResourceText(IDS_TYPE_FOLDER);
    rows.reserve(items.size() + 1);
    rows.push_back(LocalParentRow(Options, words));
    std::vector<std::string> folders;
    long n = 0;
    for (const LocalFileFacts& facts : items) {
      rows.push_back(LocalRowOf(facts, ++n, Options, SystemTextCase(), words));
      if (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(facts.name);
    }
    // Sorted before they go in: the list then never has to sort itself.
    SortRowsForList(rows, Options.SortTypeLocal, Options.SortSub == 1);
    AddLocalFoldersToTree(LocalTree, CurrentLocalFolder, folders);
  }
  FillListRows(list, rows, [] {  // a folder that cannot be read leaves the list empty
    LocalListIsWhole = false;
    if (ArchiveMode == 1) ShowMessage(IDS_OUT_OF_MEMORY);
  });

  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
  if (Options.TreeView == 1 && LocalTree) {
    SendMessageA(LocalTree, TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(FindLocalTreeItem(LocalTree, CurrentLocalFolder)));
  }
  ResumeChangedTree(LocalTree);  // paused only if the refill added folders to it
  UpdatePaneLabels(1);
  return 1;
}
