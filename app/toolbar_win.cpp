#include "app/toolbar_win.h"

#include <vector>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "app/menu_state_table.h"
#include "app/toolbar_table.h"
#include "config/options.h"
#include "resources/resource_ids.h"

constexpr int kToolbarImages = 14;

void CreateToolbar() {
  size_t count = 0;
  const ToolbarButtonSpec* specs = ToolbarButtons(&count);
  std::vector<TBBUTTON> buttons(count);
  for (size_t i = 0; i < count; ++i) {
    TBBUTTON& b = buttons[i];
    b = TBBUTTON{};
    b.iBitmap = specs[i].image < 0 ? 0 : specs[i].image;
    b.idCommand = specs[i].command;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = specs[i].image < 0 ? BTNS_SEP : BTNS_BUTTON;
  }
  Toolbar = CreateToolbarEx(MainWindow, WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS | (Options.ToolFlat ? TBSTYLE_FLAT : 0),
                            kToolbarId, kToolbarImages, InstanceHandle, IDB_TOOLBAR, buttons.data(),
                            static_cast<int>(buttons.size()), 16, 16, 16, 16, sizeof(TBBUTTON));
}

void DestroyToolbar() {
  if (Toolbar) DestroyWindow(Toolbar);
  Toolbar = nullptr;
}

// Only a change is set: the toolbar repaints a button at every TB_SETSTATE, and every
// command sets the state of every button afterwards.
void SetToolbarButtonState(int command, int state) {
  if (!Toolbar || SendMessageA(Toolbar, TB_GETSTATE, command, 0) == state) return;
  SendMessageA(Toolbar, TB_SETSTATE, command, MAKELONG(state, 0));
}

void PressToggleButtons() {
  if (Options.Sync == 1) SetToolbarButtonState(IDM_SYNCHRONIZE, kButtonPressed);
  if (Options.Auto == 1) SetToolbarButtonState(IDM_AUTO_DETECT, kButtonPressed);
  SetToolbarButtonState(ActivePane == 1 ? Options.RemoteListType : Options.LocalListType, kButtonPressed);
}

bool AnswerTooltip(NMHDR* header) {
  // The tooltip asks in the main window's character set; both forms carry the id alike.
  if (header->code == TTN_GETDISPINFOA) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    int id = TooltipStringOfCommand(static_cast<int>(header->idFrom));
    if (id) {
      info->hinst = InstanceHandle;
      info->lpszText = MAKEINTRESOURCEA(id);
    }
    return true;
  }
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    int id = TooltipStringOfCommand(static_cast<int>(header->idFrom));
    if (id) {
      info->hinst = InstanceHandle;
      info->lpszText = MAKEINTRESOURCEW(id);
    }
    return true;
  }
  return false;
}
