// The main window's command handler: menu items, accelerators, toolbar buttons and the
// commands other parts send to the main window.
#pragma once
#include <windows.h>

LRESULT DispatchCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
