#include "config/change_permission_dialog_win.h"

#include "app/app_state_win.h"
#include "config/one_field_dialog_win.h"
#include "resources/resource_ids.h"

int ShowChangePermissionDialog(HWND owner) {
  // The field starts empty; SharedNameBuffer holds 512 bytes, terminating zero included.
  std::string typed;
  if (ShowOneFieldDialog(owner, IDD_CHANGE_PERMISSION, IDC_PERMISSION_FIELD, 512, typed) != IDOK) return IDCANCEL;
  SharedNameBuffer = typed;
  return IDOK;
}
