// Go to Folder: asks for the folder to change to on the active side.
#pragma once
#include <windows.h>

// Shows dialog 144 over the main window, filled with the current folder of the side
// `activePane` names (0 local, 1 remote; the remote side offers no folder browser).
// IDOK leaves the typed folder (at most 511 bytes) in SharedNameBuffer; IDCANCEL leaves
// SharedNameBuffer alone.
int ShowGoToFolderDialog(int activePane);

INT_PTR CALLBACK GoToFolderDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
