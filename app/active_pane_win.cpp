#include "app/active_pane_win.h"

#include "app/main_window_win.h"
#include "app/menu_state_table.h"
#include "app/menu_state_win.h"
#include "app/toolbar_win.h"
#include "config/options.h"
#include "resources/resource_ids.h"

void ActivatePane(int pane) {
  ActivePane = pane;
  for (int id = IDM_LARGE_ICONS; id <= IDM_DETAILS; ++id) SetToolbarButtonState(id, kButtonEnabled);
  SetToolbarButtonState(pane == 1 ? Options.RemoteListType : Options.LocalListType, kButtonPressed);
  // The strips show which pane is active in their colours.
  if (LocalLabel) InvalidateRect(LocalLabel, nullptr, FALSE);
  if (RemoteLabel) InvalidateRect(RemoteLabel, nullptr, FALSE);
  UpdateMenuState(0);
}

HWND ActiveList() { return ActivePane == 1 ? RemoteList : LocalList; }
