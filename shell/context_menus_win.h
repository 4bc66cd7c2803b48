// The right-click menus: the program's own (the two file lists, an archive shown in the
// local list, the link analyzer's list) and the shell's own menu of a local entry.
#pragma once
#include <windows.h>

#include <string>

// Shows menu `menuId` at a point of the window's client area, adjusted to the state; a
// chosen entry reaches the window as its command.
void ShowContextMenu(HWND window, POINT client, int menuId);

// The menu of the row or empty area under the cursor of the message being handled.
void ShowListContextMenu(HWND list);

// The shell's context menu of the item in the folder, at a screen point; the shell
// carries out what is chosen. Any failure ends it silently.
void ShowShellContextMenu(HWND owner, POINT screen, const std::string& folder, const std::string& item);
