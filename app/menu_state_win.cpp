#include "app/menu_state_win.h"

#include <windows.h>

#include "app/app_state_win.h"
#include "app/connect_attempt_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_table.h"
#include "app/session_lock_win.h"
#include "app/string_table_win.h"
#include "app/toolbar_win.h"
#include "config/options.h"
#include "resources/resource_ids.h"

void UpdateMenuState(int flag) {
  MenuStateInput in;
  in.jobRunning = JobRunning;
  in.connected = Connected && !ConnectAttemptRunning();  // a login half done is no connection yet
  in.activePane = ActivePane;
  in.archiveMode = ArchiveMode;
  in.transferMode = TransferMode;
  in.toolbarHeight = ToolbarHeight;
  in.sortTypeLocal = Options.SortTypeLocal;
  in.sortTypeRemote = Options.SortTypeRemote;
  in.localListType = Options.LocalListType;
  in.remoteListType = Options.RemoteListType;
  in.sortSub = Options.SortSub;
  in.sortSubRemote = Options.SortSubRemote;
  in.nkfUp = Options.NKFUp;
  in.nkfDown = Options.NKFDown;
  in.nkfKana = Options.NKFKana;
  in.treeView = Options.TreeView;
  const MenuState state = ComputeMenuState(in);

  if (MainMenu) {
    for (const MenuItemState& item : state.items)
      EnableMenuItem(MainMenu, item.id, MF_BYCOMMAND | (item.grayed ? MF_GRAYED : MF_ENABLED));
    for (const RadioCheck& radio : state.radios)
      CheckMenuRadioItem(MainMenu, radio.first, radio.last, radio.checked, MF_BYCOMMAND);
    for (const ItemCheck& check : state.checks)
      CheckMenuItem(MainMenu, check.id, MF_BYCOMMAND | (check.checked ? MF_CHECKED : MF_UNCHECKED));
  }
  for (const ButtonState& button : state.buttons) SetToolbarButtonState(button.id, button.state);
  UpdatePaneLabels(flag);
  UpdateSessionLock();
}

// A label is set only when its text changes: every command ends here, and setting a
// static control's text repaints it even when the text is the same.
static void SetLabelText(HWND label, const std::string& text) {
  if (!label) return;
  const int length = GetWindowTextLengthA(label);
  if (length == static_cast<int>(text.size())) {
    std::string shown(static_cast<size_t>(length) + 1, '\0');
    shown.resize(static_cast<size_t>(GetWindowTextA(label, &shown[0], length + 1)));
    if (shown == text) return;
  }
  SetWindowTextA(label, text.c_str());
}

void UpdatePaneLabels(int) {
  const int connected = Connected && !ConnectAttemptRunning();
  const PaneCaptions captions = ComputePaneCaptions(CurrentLocalFolder, ArchiveMode, ArchivePath, connected,
                                                    CurrentRemoteFolder, LoadResourceText(IDS_UNCONNECTED));
  SetLabelText(LocalLabel, captions.local);
  SetLabelText(RemoteLabel, captions.remote);
}
