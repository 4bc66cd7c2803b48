#include "config/add_favorite_dialog_win.h"

#include "app/app_state_win.h"
#include "config/host_profile.h"
#include "config/one_field_dialog_win.h"
#include "resources/resource_ids.h"

INT_PTR ShowAddFavoriteDialog() {
  // Up to 255 characters, terminating zero included.
  return ShowOneFieldDialog(MainWindow, IDD_ADD_FAVORITE, IDC_FAVORITE_NAME, 256, CurrentHost.HostName);
}
