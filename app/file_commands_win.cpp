#include "app/file_commands_win.h"

#include <windows.h>
#include <commctrl.h>

#include "app/active_pane_win.h"
#include "app/app_state_win.h"
#include "app/folder_trees_win.h"
#include "app/job_start_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "app/system_text_case_win.h"
#include "app/tree_cache.h"
#include "archive/archive_browsing_win.h"
#include "config/change_permission_dialog_win.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/remote_commands_win.h"
#include "app/remote_view_fill_win.h"
#include "jobs/job_rules.h"
#include "jobs/job_support_win.h"
#include "jobs/remote_delete_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

namespace {

// The wait cursor for the time of a delete on the main thread.
class WaitCursor {
 public:
  WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {}  // IDC_WAIT
  ~WaitCursor() { SetCursor(old_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR old_;
};

}  // namespace

namespace {

// The local folder's node in the tree, or null (the tree finds the nearest folder above
// one it does not show).
HTREEITEM LocalTreeItemOf(const std::string& path, const std::string& name) {
  HTREEITEM item = FindLocalTreeItem(LocalTree, path);
  if (!item || item == TVI_ROOT) return nullptr;
  return EqualNoCase(SystemTextCase(), TreeItemText(LocalTree, item), name) ? item : nullptr;
}

// The entries of a local folder, read by its absolute path.
std::vector<JobRow> LocalEntriesOf(const std::string& folder, bool& whole) {
  JobLevel level;
  level.local = folder;
  level.panesFollow = false;
  whole = ListLocalLevel(level, false);
  return level.localRows;
}

// One level of the local delete, in the folder given by its absolute path; the folders
// below are read by the walk itself. False when the walk must stop.
bool DeleteLocalLevel(const std::vector<JobRow>& rows, const std::string& folder, int depth) {
  for (const JobRow& row : rows) {
    if (!IsPlainEntryName(row.name)) continue;
    const std::string path = JoinLocalPath(folder, row.name);
    if (!row.folder) {
      ShowFileStatus(IDS_DELETING_FILE, row.name);
      if (!DeleteFileA(path.c_str())) ShowMessage(IDS_FAILED_DELETE_FILE);
      continue;
    }
    if (AskConfirmation(5, row.name.c_str()) != IDYES) break;
    // A link to a folder elsewhere is removed as a link; what it points to stays.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (!link) {
      bool whole = false;
      const std::vector<JobRow> inner = depth < kMaxFolderDepth ? LocalEntriesOf(path, whole) : std::vector<JobRow>{};
      if (!whole) {
        ReportWithName(IDS_SKIPPED_LOCAL_FOLDER, row.name);
        continue;
      }
      if (!DeleteLocalLevel(inner, path, depth + 1)) return false;
      ShowFileStatus(IDS_DELETING_FOLDER, row.name);
    }
    if (RemoveDirectoryA(path.c_str())) {
      if (Options.TreeView == 1)
        if (HTREEITEM item = LocalTreeItemOf(path, row.name)) SendMessageA(LocalTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    } else {
      ShowMessage(IDS_FAILED_DELETE_FOLDER);
    }
  }
  return true;
}

// The provisional name of a new entry: the format filled with the number of rows.
std::string ProvisionalName(const std::string& format, HWND list) {
  return FormatWithNumber(format, ListRowCount(list));
}

void EditNewRow(HWND list, int pane, const std::string& name) {
  const int row = FindRowByName(list, name);
  if (row < 0) return;
  ActivatePane(pane);
  SetFocus(list);
  MarkListRows(list, {static_cast<size_t>(row)});
  SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(row), 0);
}

int BeginRename(HWND list) {
  const int row = FindFocusedRow(list);
  if (row < 0) return 0;
  SetFocus(list);
  SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(row), 0);
  return 0;
}

}  // namespace

int DeleteRemoteSelected() {
  WaitCursor wait;
  const std::vector<JobRow> marked = SelectedJobRows(RemoteList);
  JobLevel level;
  level.remote = CurrentRemoteFolder;
  std::string asked;
  if (GetRemoteFolder(asked, 2048) && !asked.empty()) level.remote = asked;
  level.panesFollow = false;  // the window lists the folder itself afterwards
  DeleteRemoteRows(marked, level);
  ClearStatus();
  return 0;
}

int DeleteLocalSelected() {
  WaitCursor wait;
  if (ArchiveMode == 1) {  // an archive's members are not files of the folder
    DeleteSelectedMembers();
    ClearStatus();
    return 0;
  }
  DeleteLocalLevel(SelectedJobRows(LocalList), CurrentLocalFolder, 0);
  ClearStatus();
  return 0;
}

int NewLocalFolder() {
  const std::string name = ProvisionalName(LoadResourceText(IDS_NEW_FOLDER_NAME), LocalList);
  CreateDirectoryA(JoinLocalPath(ProcessCurrentFolder(), name).c_str(), nullptr);
  RefreshLocalList(LocalList);
  EditNewRow(LocalList, 0, name);
  return 0;
}

int NewLocalFile() {
  const std::string name = ProvisionalName(LoadResourceText(IDS_NEW_FOLDER_NAME), LocalList);
  HANDLE file = CreateFileA(JoinLocalPath(ProcessCurrentFolder(), name).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  RefreshLocalList(LocalList);
  EditNewRow(LocalList, 0, name);
  return 0;
}

int NewRemoteFolder() {
  const std::string name = ProvisionalName("folder%d", RemoteList);
  if (!MakeRemoteFolder(name) && !ConnectionWasLost()) ShowMessage(IDS_FAILED_MAKE_FOLDER);
  RefreshRemoteList(RemoteList, 0);
  EditNewRow(RemoteList, 1, name);
  if (Options.TreeView == 1) {
    const std::string path = CurrentRemoteFolder.empty() ? "" : CurrentRemoteFolder.substr(1);
    if (HTREEITEM item = FindRemoteTreeItem(RemoteTree, path))
      SendMessageA(RemoteTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }
  return 0;
}

int BeginRenameLocal() { return BeginRename(LocalList); }
int BeginRenameRemote() { return BeginRename(RemoteList); }

void ChangeRemotePermission(const std::string& text) {
  for (const JobRow& row : SelectedJobRows(RemoteList)) SetRemoteMode(row.name, text);
}

void DeleteSelection() {
  if (AskConfirmation(0, "") != IDYES) return;
  if (ActivePane == 0) {
    EnterLocalFolder(CurrentLocalFolder);
    DeleteLocalSelected();
    RefreshLocalList(LocalList);
  } else if (Connected) {
    ResetJobWay();
    DeleteRemoteSelected();
    ShowCompletion(2);
    RefreshRemoteList(RemoteList, 0);
  }
}

void ChangePermissionOfSelection() {
  if (ShowChangePermissionDialog(MainWindow) == IDOK) ChangeRemotePermission(SharedNameBuffer);
}
