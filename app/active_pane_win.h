// Which pane the commands act on, and switching it.
#pragma once
#include <windows.h>

// Makes the pane (0 local, 1 remote) active: its view button pressed, the menus and
// the caption colours follow.
void ActivatePane(int pane);

HWND ActiveList();  // LocalList or RemoteList by the active pane
