#include "shell/context_menus_win.h"

#include <ole2.h>
#include <shlobj.h>

#include "app/app_state_win.h"
#include "app/list_rows_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/notify_win.h"
#include "app/string_table_win.h"
#include "config/options.h"
#include "resources/resource_ids.h"
#include "shell/context_menu_rules.h"
#include "shell/shell_items_win.h"

namespace {

constexpr UINT kShellFirstId = 1;
constexpr UINT kShellLastId = 32767;

void Enable(HMENU menu, UINT id, bool enabled) {
  EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Gray(HMENU menu, std::initializer_list<UINT> ids) {
  for (UINT id : ids) Enable(menu, id, false);
}

void CheckView(HMENU menu, int listType) {
  CheckMenuRadioItem(menu, IDM_LARGE_ICONS, IDM_DETAILS, static_cast<UINT>(listType), MF_BYCOMMAND);
}

std::string FocusedName(HWND list) {
  const int row = FindFocusedRow(list);
  return row >= 0 ? ListRowText(list, row, 0) : std::string();
}

void AdjustMenu(HMENU popup, int menuId) {
  switch (menuId) {
    case kMenuLocalArea:
      if (ArchiveMode) Gray(popup, {IDM_NEW_FOLDER});
      CheckView(popup, Options.LocalListType);
      if (JobRunning) Gray(popup, {IDM_NEW_FOLDER, IDM_GOTO_FOLDER, IDM_PREVIOUS_FOLDER, IDM_OPTIONS});
      break;
    case kMenuRemoteItem:
      SharedNameBuffer = FocusedName(RemoteList);
      if (SharedNameBuffer == "..") Gray(popup, {IDM_DOWNLOAD});
      if (JobRunning) Gray(popup, {IDM_DOWNLOAD, IDM_DELETE, IDM_RENAME});
      break;
    case kMenuRemoteArea:
      if (!Connected) Gray(popup, {IDM_NEW_FOLDER, IDM_GOTO_FOLDER, IDM_PREVIOUS_FOLDER, IDM_ADD_FAVORITE});
      if (JobRunning) Gray(popup, {IDM_NEW_FOLDER, IDM_GOTO_FOLDER, IDM_PREVIOUS_FOLDER, IDM_OPTIONS});
      CheckView(popup, Options.RemoteListType);
      break;
    default: break;
  }
}

// Fills a pop-up with the shell's entries for the item; the handler stays for the choice.
IContextMenu* ShellMenuInto(HMENU popup, const std::string& folder, const std::string& item) {
  ShellFolderItems items(folder);
  if (!items.bound() || !items.Add(item)) return nullptr;
  IContextMenu* handler = items.NewContextMenu(MainWindow);
  if (!handler) return nullptr;
  if (FAILED(handler->QueryContextMenu(popup, 0, kShellFirstId, kShellLastId, CMF_EXPLORE))) {
    handler->Release();
    return nullptr;
  }
  return handler;
}

void InvokeShellEntry(IContextMenu* handler, UINT id) {
  CMINVOKECOMMANDINFO invoke{};
  invoke.cbSize = sizeof invoke;
  invoke.hwnd = MainWindow;
  invoke.lpVerb = MAKEINTRESOURCEA(id - kShellFirstId);
  invoke.nShow = SW_SHOWNORMAL;
  handler->InvokeCommand(&invoke);
}

void AppendEntry(HMENU popup, UINT id, int textId) {
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(popup, MF_STRING, id, LoadResourceText(textId).c_str());
}

// Menu 153 carries the shell's menu of the entry; without it no menu is shown.
void ShowLocalItemMenu(HWND window, POINT screen, HMENU popup) {
  SharedNameBuffer = FocusedName(LocalList);
  if (!Connected) Gray(popup, {IDM_UPLOAD});
  if (JobRunning) Gray(popup, {IDM_UPLOAD, IDM_DELETE, IDM_RENAME});
  if (OffersTestExtract(SharedNameBuffer)) AppendEntry(popup, IDM_ARCHIVE_TEST_EXTRACT, IDS_MENU_TEST_EXTRACT);
  if (OffersLinkAnalyzer(SharedNameBuffer)) AppendEntry(popup, IDM_LINK_ANALYZER, IDS_MENU_LINK_ANALYZER);
  // An archive's member is no file of the folder: the shell knows nothing of it.
  if (ArchiveMode) return;
  HMENU shellMenu = CreatePopupMenu();
  IContextMenu* handler = shellMenu ? ShellMenuInto(shellMenu, CurrentLocalFolder, SharedNameBuffer) : nullptr;
  if (!handler) {
    if (shellMenu) DestroyMenu(shellMenu);
    return;
  }
  AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  // Its title is Japanese in both editions: an English system's code page has no form of it.
  wchar_t title[64] = L"";
  LoadStringW(InstanceHandle, IDS_EXPLORER_SUBMENU, title, 64);
  AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(shellMenu), title);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, window, nullptr));
  if (chosen >= kShellFirstId && chosen < IDM_LARGE_ICONS)
    InvokeShellEntry(handler, chosen);
  else if (chosen >= IDM_LARGE_ICONS)
    SendMessageA(window, WM_COMMAND, chosen, 0);
  handler->Release();  // the shell's submenu goes with the menu it belongs to
}

}  // namespace

void ShowContextMenu(HWND window, POINT client, int menuId) {
  HMENU menu = LoadMenuA(InstanceHandle, MAKEINTRESOURCEA(menuId));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, 0);
  POINT screen = client;
  ClientToScreen(window, &screen);
  if (popup && menuId == kMenuLocalItem) {
    ShowLocalItemMenu(window, screen, popup);
  } else if (popup) {
    AdjustMenu(popup, menuId);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, 0, window, nullptr);
  }
  DestroyMenu(menu);
}

void ShowListContextMenu(HWND list) {
  const bool onItem = ListRowUnderMouse(list) >= 0;
  const int menuId =
      list == RemoteList ? ContextMenuOfRemoteList(onItem) : ContextMenuOfLocalList(onItem, ArchiveMode != 0);
  const DWORD at = GetMessagePos();
  POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  ScreenToClient(MainWindow, &point);
  ShowContextMenu(MainWindow, point, menuId);
}

void ShowShellContextMenu(HWND owner, POINT screen, const std::string& folder, const std::string& item) {
  HMENU popup = CreatePopupMenu();
  if (!popup) return;
  if (IContextMenu* handler = ShellMenuInto(popup, folder, item)) {
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, owner, nullptr));
    if (chosen >= kShellFirstId && chosen <= kShellLastId) InvokeShellEntry(handler, chosen);
    handler->Release();
  }
  DestroyMenu(popup);
}
