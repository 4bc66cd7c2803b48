#include "app/notify_win.h"

#include <commctrl.h>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "app/toolbar_win.h"

LRESULT HandleNotify(HWND, WPARAM, LPARAM lParam) {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  switch (header->idFrom) {
    case kLocalListId: LocalListNotify(header); break;
    case kRemoteListId: RemoteListNotify(header); break;
    case kLocalTreeId: LocalTreeNotify(header); break;
    case kRemoteTreeId: RemoteTreeNotify(header); break;
    default: AnswerTooltip(header); break;
  }
  return 0;
}

int ListRowUnderMouse(HWND list) {
  DWORD at = GetMessagePos();
  LVHITTESTINFO hit{};
  hit.pt.x = static_cast<short>(LOWORD(at));
  hit.pt.y = static_cast<short>(HIWORD(at));
  ScreenToClient(list, &hit.pt);
  int row = static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return row >= 0 && (hit.flags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL)) ? row : -1;
}

void BeginListLabelEdit(HWND list, int row) {
  if (HWND edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0)))
    SendMessageA(edit, EM_LIMITTEXT, 260, 0);
  LVITEMA state{};
  state.stateMask = LVIS_FOCUSED;
  state.state = LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  LabelEditing = 1;
}
