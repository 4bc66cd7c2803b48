#include "app/view_commands_win.h"

#include <windows.h>
#include <commctrl.h>

#include "app/active_pane_win.h"
#include "app/app_state_win.h"
#include "app/folder_trees_win.h"
#include "app/list_rows_win.h"
#include "app/list_views_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_table.h"
#include "app/menu_state_win.h"
#include "app/toolbar_win.h"
#include "config/options.h"
#include "resources/resource_ids.h"

void SetViewStyle(int command) {
  HWND list = ActiveList();
  (ActivePane == 1 ? Options.RemoteListType : Options.LocalListType) = command;
  ApplyViewStyle(list, command);
  UpdateMenuState(0);
  for (int id = IDM_LARGE_ICONS; id <= IDM_DETAILS; ++id) SetToolbarButtonState(id, kButtonEnabled);
  SetToolbarButtonState(command, kButtonPressed);
}

static void SortActivePane() {
  if (ActivePane == 1) SortListView(RemoteList, Options.SortTypeRemote, Options.SortSubRemote == 1);
  else SortListView(LocalList, Options.SortTypeLocal, Options.SortSub == 1);
}

void SetSortOrder(int command) {
  (ActivePane == 1 ? Options.SortTypeRemote : Options.SortTypeLocal) = command;
  SortActivePane();
}

void SetSortDirection(int command) {
  (ActivePane == 1 ? Options.SortSubRemote : Options.SortSub) = command == IDM_DESCENDING ? 1 : 0;
  SortActivePane();
}

void ToggleToolbar() {
  if (ToolbarHeight == 32) {
    ToolbarHeight = 0;
    DestroyToolbar();
  } else {
    ToolbarHeight = 32;
    CreateToolbar();
    PressToggleButtons();
  }
  LayoutPanesNow();
  UpdatePaneLabels(1);
}

void ToggleTreeView() {
  Options.TreeView = Options.TreeView == 0 ? 1 : 0;
  LayoutPanesNow();
  if (Options.TreeView == 0) return;
  // The trees are not kept while hidden: shown again, they are built for what the panes show.
  ShowLocalTreeOfDrives();
  if (Connected && !TreeTempPath.empty()) RebuildRemoteTree(RemoteTree);
}

void ToggleSynchronize() {
  Options.Sync = Options.Sync == 1 ? 0 : 1;
  SetToolbarButtonState(IDM_SYNCHRONIZE, Options.Sync == 1 ? kButtonPressed : kButtonEnabled);
}

void ToggleAutoDetect() {
  Options.Auto = Options.Auto == 1 ? 0 : 1;
  SetToolbarButtonState(IDM_AUTO_DETECT, Options.Auto == 1 ? kButtonPressed : kButtonEnabled);
  CheckMenuItem(MainMenu, IDM_AUTO_DETECT, MF_BYCOMMAND | (Options.Auto == 1 ? MF_CHECKED : MF_UNCHECKED));
}

static void SetSelected(HWND list, int row, bool selected) {
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  state.state = selected ? LVIS_SELECTED : 0;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

void SelectAllRows() {
  HWND list = ActiveList();
  SetFocus(list);
  const int count = ListRowCount(list);
  for (int row = 0; row < count; ++row) {
    if (ListRowText(list, row, 0) != "..") SetSelected(list, row, true);
  }
}

void InvertSelection() {
  HWND list = ActiveList();
  SetFocus(list);
  const int count = ListRowCount(list);
  for (int row = 0; row < count; ++row) {
    bool selected = SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
    SetSelected(list, row, !selected);
  }
}
