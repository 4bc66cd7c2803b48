#include "app/options_command_win.h"

#include <windows.h>

#include "app/app_state_win.h"
#include "app/image_lists_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/toolbar_win.h"
#include "config/options_sheet_win.h"
#include "app/remote_view_fill_win.h"

void OpenOptions() {
  if (ShowOptionsSheet() != IDOK) return;
  ApplyIconSet(LocalList);
  if (ToolbarHeight == 32) {
    // The flat style is fixed when the toolbar is created.
    DestroyToolbar();
    CreateToolbar();
    PressToggleButtons();
  }
  LayoutPanesNow();  // the panes may now be arranged the other way
  RefreshLocalList(LocalList);
  RefreshRemoteList(RemoteList, 0);
}
