// The About box.
#pragma once
#include <windows.h>

// Shows dialog 141 over the main window until the user closes it.
void ShowAboutDialog();

INT_PTR CALLBACK AboutDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
