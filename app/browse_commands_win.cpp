#include "app/browse_commands_win.h"

#include <windows.h>
#include <commctrl.h>

#include "app/active_pane_win.h"
#include "app/app_state_win.h"
#include "app/connect_attempt_win.h"
#include "app/folder_trees_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_win.h"
#include "app/message_boxes_win.h"
#include "app/shell_open_win.h"
#include "app/string_table_win.h"
#include "archive/archive_browsing_win.h"
#include "archive/archive_names.h"
#include "config/connect_dialog_win.h"
#include "config/goto_folder_dialog_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "ftp/control_connection_win.h"
#include "ftp/login_win.h"
#include "ftp/remote_commands_win.h"
#include "ftp/transfer_progress.h"
#include "jobs/job_reconnect_win.h"
#include "app/remote_view_fill_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

constexpr size_t kRemoteFolderCapacity = 2048;

void ConnectWithDialog() {
  if (ShowConnectDialog() != IDOK) return;
  FillHostFromOptions();
  ConnectedFromFavorite = 0;
  StartConnectAttempt(CurrentHost.InitialRemoteFolder, CurrentHost.InitialLocalFolder, [] {
    RefreshRemoteList(RemoteList, 0);
    RefreshLocalList(LocalList);
  });
}

void DisconnectFromServer() {
  Disconnect();
  SendMessageA(RemoteList, LVM_DELETEALLITEMS, 0, 0);
  ClearRemoteTree(RemoteTree);
}

void EndLostConnection() {
  if (!ConnectionWasLost() || JobRunning) return;
  ForgetLostConnection();
  if (!Connected) return;
  DisconnectFromServer();
  UpdateMenuState(1);
  // A job that tried to log in again and could not also says what it left undone.
  const int filesLeft = TakeFilesLeftByLostJob();
  if (filesLeft < 0) {
    ShowMessage(IDS_CONNECTION_LOST);
    return;
  }
  ShowProgramMessageBox(LoadResourceText(IDS_CONNECTION_LOST) + "\r\n" +
                            FormatWithName(LoadResourceText(IDS_FILES_NOT_TRANSFERRED), std::to_string(filesLeft)),
                        VAKO_CAPTION, MB_OK | MB_ICONINFORMATION);
}

// The server's folder after a change: what PWD reports.
static void ReadRemoteFolderAndList() {
  GetRemoteFolder(CurrentRemoteFolder, kRemoteFolderCapacity);
  RefreshRemoteList(RemoteList, 0);
}

// Up one folder on the local side (the tree follows in the refill).
static void LocalParentStep() {
  EnterLocalFolder(CurrentLocalFolder);
  EnterLocalFolder("..");
  RefreshLocalList(LocalList);
}

void OpenLocalSelection(int command) {
  const int count = ListRowCount(LocalList);
  int row = -1;
  for (int step = 0; step < count; ++step) {
    row = static_cast<int>(SendMessageA(LocalList, LVM_GETNEXTITEM, row, LVNI_SELECTED));
    if (row < 0) break;
    SharedNameBuffer = ListRowText(LocalList, row, 0);
    const std::string name = SharedNameBuffer;
    if (IsFolderRow(LocalList, row) && command == IDM_ENTER) {
      // A folder member is no folder of the disk, and the archive is shown flat.
      if (JobRunning || ArchiveMode == 1) continue;
      EnterLocalFolder(name);
      RefreshLocalList(LocalList);  // the rows are now those of the folder: none is selected
      if (Options.Sync == 1 && Connected) {
        if (ChangeRemoteFolder(name)) ReadRemoteFolderAndList();
        else RefreshRemoteList(RemoteList, 0);
      }
      continue;
    }
    if (command == IDM_ENTER && HasExtensionNoCase(name, ".lzh") && ArchiveMode == 0) {
      if (!JobRunning) EnterArchive(name);  // a job reads the archive mode as it goes
      continue;
    }
    if (ArchiveMode == 1) OpenArchiveMember(name);
    else if (!ShellOpen(JoinLocalPath(CurrentLocalFolder, name), CurrentLocalFolder)) ShowMessage(IDS_FAILED_SHELL_OPEN);
  }
}

void OpenSelection(int command) {
  if (ActivePane == 1) {
    SendMessageA(MainWindow, WM_COMMAND, IDM_OPEN_REMOTE, 0);
    return;
  }
  // The local pane may show the folder a job is in; the process stays where it is then.
  if (!JobRunning) EnterLocalFolder(CurrentLocalFolder);
  OpenLocalSelection(command);
}

void GoToFolder() {
  if (ActivePane == 0) {
    EnterLocalFolder(CurrentLocalFolder);
    if (ShowGoToFolderDialog(0) != IDOK) return;
    // An archive shown stays shown when the dialog is cancelled: its rows must not be
    // taken for files of the folder.
    ArchiveMode = 0;
    EnterLocalFolder(SharedNameBuffer);
    RefreshLocalList(LocalList);
    return;
  }
  if (ShowGoToFolderDialog(1) != IDOK) return;
  ChangeRemoteFolder(SharedNameBuffer);  // PWD tells where the server is afterwards
  ReadRemoteFolderAndList();
}

void RefreshActivePane() {
  if (ActivePane == 1) {
    RefreshRemoteList(RemoteList, 0);
    return;
  }
  EnterLocalFolder(CurrentLocalFolder);
  RefreshLocalList(LocalList);
}

void PreviousFolder() {
  if (ActivePane == 0) {
    if (ArchiveMode == 1) {
      ArchiveMode = 0;
      RefreshLocalList(LocalList);
    } else {
      LocalParentStep();
    }
    if (Options.Sync == 1 && Connected) {
      ChangeRemoteFolder("..");
      ReadRemoteFolderAndList();
    }
    return;
  }
  ChangeRemoteFolder("..");
  ReadRemoteFolderAndList();
  if (Options.Sync == 1) LocalParentStep();
}

void SwitchPane() {
  if (ActivePane == 0) {
    ActivatePane(1);
    SetFocus(RemoteList);
  } else {
    ActivatePane(0);
    SetFocus(LocalList);
  }
  UpdatePaneLabels(1);
}
