#include "app/command_dispatch_win.h"

#include <commctrl.h>

#include "app/app_state_win.h"
#include "app/browse_commands_win.h"
#include "app/folder_trees_win.h"
#include "app/help_command_win.h"
#include "app/job_start_win.h"
#include "app/command_table.h"
#include "app/connect_attempt_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_table.h"
#include "app/menu_state_win.h"
#include "app/options_command_win.h"
#include "app/message_boxes_win.h"
#include "app/shell_open_win.h"
#include "app/string_table_win.h"
#include "app/toolbar_win.h"
#include "app/view_commands_win.h"
#include "app/work_folder_win.h"
#include "archive/archive_browsing_win.h"
#include "archive/archive_tools_win.h"
#include "jobs/download_job_win.h"
#include "app/file_commands_win.h"
#include "jobs/job_support_win.h"
#include "jobs/mirror_upload_win.h"
#include "jobs/upload_job_win.h"
#include "config/about_dialog_win.h"
#include "config/favorites_win.h"
#include "config/host_list_import_win.h"
#include "config/options.h"
#include "app/remote_view_fill_win.h"
#include "linkcheck/link_analyzer_dialog_win.h"
#include "resources/resource_ids.h"
#include "shell/clipboard_copy_win.h"

static void SelectTransferMode(int mode) {
  TransferMode = mode;
  int chosen = mode == 1 ? IDM_ASCII : IDM_BINARY;
  CheckMenuRadioItem(MainMenu, IDM_ASCII, IDM_BINARY, chosen, MF_BYCOMMAND);
  SetToolbarButtonState(IDM_ASCII, mode == 1 ? kButtonPressed : kButtonEnabled);
  SetToolbarButtonState(IDM_BINARY, mode == 2 ? kButtonPressed : kButtonEnabled);
}

static void ToggleSetting(int& setting) { setting = setting == 1 ? 0 : 1; }

// The sub-folder of the work folder that the last download for Open received into; it
// stays until exit, as the program it was opened with may read it at any time.
static std::string OpenFolder;

// The end of a download job. A download for Open ran in a sub-folder of the work folder,
// and its file is opened from there; the local pane then shows its own folder again,
// wherever the job left the current folder.
static void DownloadFinished() {
  ShowJobStartFolders();
  if (OpenAfterDownload == 1) {
    ShellOpen(OpenFolder + LastJobName(), OpenFolder);
    OpenAfterDownload = 0;
  }
  OfferDownloadedCopy();  // a clipboard copy of remote entries waits for this
  JobEndHandled();
}

static void UploadFinished() {
  ShowJobStartFolders();
  JobEndHandled();
}

static void OpenWebPage(const std::string& address) {
  if (!ShellOpen(address, ProgramFolder)) ShowMessage(IDS_FAILED_BROWSER);
}

static void OpenRemoteSelection() {
  OpenFolder = NewWorkSubFolder();
  if (OpenFolder.empty()) return;
  OpenAfterDownload = 1;
  // The local pane stays where it is: what it lists is elsewhere.
  StartJobThread(DownloadForOpenJob, JobRowsFrom::RemoteSelection, OpenFolder, false);
}

static void NewFolder() {
  if (ActivePane == 0) {
    EnterLocalFolder(CurrentLocalFolder);
    NewLocalFolder();
  } else {
    NewRemoteFolder();
    RebuildRemoteTree(RemoteTree);
  }
}

static void RenameFocused() {
  if (ActivePane == 1) {
    BeginRenameRemote();
  } else if (ArchiveMode == 1) {
    RenameFocusedMember();
  } else {
    EnterLocalFolder(CurrentLocalFolder);
    BeginRenameLocal();
  }
}

// Carries out a command that the table lets run now.
static void RunCommand(HWND window, int id) {
  switch (id) {
    case IDM_LARGE_ICONS:
    case IDM_SMALL_ICONS:
    case IDM_LIST:
    case IDM_DETAILS: SetViewStyle(id); break;
    case IDM_CONNECT: ConnectWithDialog(); break;
    case IDM_DISCONNECT: DisconnectFromServer(); break;
    case IDM_ABOUT: ShowAboutDialog(); break;
    case IDM_OPEN:
    case IDM_ENTER: OpenSelection(id); break;
    case IDM_GOTO_FOLDER: GoToFolder(); break;
    case IDM_EXIT: PostMessageA(window, WM_CLOSE, 0, 0); break;
    case IDM_REFRESH: RefreshActivePane(); break;
    case IDM_PREVIOUS_FOLDER: PreviousFolder(); break;
    case IDM_ASCII: SelectTransferMode(1); break;
    case IDM_BINARY: SelectTransferMode(2); break;
    case IDM_SORT_NAME:
    case IDM_SORT_SIZE:
    case IDM_SORT_TYPE:
    case IDM_SORT_DATE:
    case IDM_SORT_ATTRIBUTES:
    case IDM_SORT_NONE: SetSortOrder(id); break;
    case IDM_WWW_BROWSER: OpenWebPage(Options.HPAddres); break;
    case IDM_CONTENTS: OpenHelpContents(); break;
    case IDM_AUTHOR_PAGE: OpenWebPage(LoadResourceText(IDS_AUTHOR_PAGE_URL)); break;
    case IDM_UPDATE_SOFTWARE: OpenWebPage(LoadResourceText(IDS_UPDATE_PAGE_URL)); break;
    case IDM_SWITCH_PANE: SwitchPane(); break;
    case IDM_TOOLBAR: ToggleToolbar(); break;
    case IDM_STOP:
      if (ConnectAttemptRunning()) {
        CancelConnectAttempt();
        break;
      }
      StopRequested = 1;
      if (JobRunning) JobStopped = 1;
      break;
    case IDM_TREE_VIEW: ToggleTreeView(); break;
    case IDM_OPTIONS: OpenOptions(); break;
    case IDM_ASCENDING:
    case IDM_DESCENDING: SetSortDirection(id); break;
    case IDM_SYNCHRONIZE: ToggleSynchronize(); break;
    case IDM_AUTO_DETECT: ToggleAutoDetect(); break;
    case IDM_SELECT_ALL: SelectAllRows(); break;
    case IDM_INVERT_ITEMS: InvertSelection(); break;
    case IDM_NEW_WINDOW: ShellOpen("vako.exe", ProgramFolder); break;
    case IDM_SHOW_LOG: ShellOpen(LogPath, ProgramFolder); break;
    case IDM_UPLOAD_DONE: UploadFinished(); break;
    case IDM_DOWNLOAD_DONE: DownloadFinished(); break;
    // The conversion settings; the menu checks follow in UpdateMenuState.
    case IDM_NKF_DOWN: ToggleSetting(Options.NKFDown); break;
    case IDM_NKF_KANA: ToggleSetting(Options.NKFKana); break;
    case IDM_TO_EUC: Options.NKFUp = 1; break;
    case IDM_TO_JIS: Options.NKFUp = 2; break;
    case IDM_NO_CONVERT: Options.NKFUp = 0; break;
    case IDM_UPLOAD: StartJobThread(UploadJob, JobRowsFrom::LocalSelection, CurrentLocalFolder); break;
    case IDM_DOWNLOAD: StartJobThread(DownloadJob, JobRowsFrom::RemoteSelection, CurrentLocalFolder); break;
    case IDM_MIRROR_UPLOAD: StartJobThread(MirrorUploadJob, JobRowsFrom::LocalAll, CurrentLocalFolder); break;
    case IDM_OPEN_REMOTE: OpenRemoteSelection(); break;
    case IDM_NEW_FOLDER: NewFolder(); break;
    case IDM_NEW_FILE: NewLocalFile(); break;
    case IDM_DELETE: DeleteSelection(); break;
    case IDM_RENAME: RenameFocused(); break;
    case IDM_CHANGE_ATTRIBUTES: ChangePermissionOfSelection(); break;
    case IDM_ADD_FAVORITE: AddFavorite(); break;
    case IDM_OPEN_FAVORITE: OpenFavorite(); break;
    case IDM_ARRANGE_FAVORITES: ArrangeFavorites(); break;
    case IDM_IMPORT_WSFTP: ImportWS_FTP(); break;
    case IDM_IMPORT_MATU: ImportMatuFTP(); break;
    case IDM_IMPORT_FFFTP: ImportFFFTP(); break;
    case IDM_LINK_ANALYZER: AnalyzeLinks(window); break;
    case IDM_OPEN_BY_BROWSER:
    case IDM_OPEN_BY_EDITOR:
      EnterLocalFolder(CurrentLocalFolder);
      OpenWithViewer(id == IDM_OPEN_BY_BROWSER ? BrowserPath : EditorPath, id == IDM_OPEN_BY_BROWSER);
      break;
    case IDM_TEST_EXTRACT: TestExtract("x", ArchiveKind::Lha); break;
    case IDM_COMPRESS_FILES: CompressFiles(); break;
    case IDM_COMPRESS_FOLDER: CompressFolder(); break;
    case IDM_ARCHIVE_TEST_EXTRACT: TestExtractFocusedItem(); break;
    case IDM_COPY: CopyToClipboard(); break;
    default: break;  // rows whose actions come with the archive, shell and configuration commands
  }
}

LRESULT DispatchCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  CommandState state;
  state.jobRunning = JobRunning;
  state.connected = Connected;
  state.activePane = ActivePane;
  state.archiveMode = ArchiveMode;
  const CommandGate gate = GateCommand(id, state);
  if (gate == CommandFavorite) {  // the menu stays as the connection leaves it
    ConnectFromFavoriteEntry(id);
    return 0;
  }
  if (!UpdatesMenusAfter(gate)) return DefWindowProcA(window, message, wParam, lParam);
  if (gate == CommandRuns) RunCommand(window, id);
  UpdateMenuState(1);
  return 0;
}
