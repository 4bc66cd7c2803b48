// The Connect dialog: host, address, login name and password of the next connection,
// kept in the options record.
#pragma once
#include <windows.h>

// Shows dialog 139 over the main window. IDOK when the user connected with all three of
// address, login name and password typed (the options then hold them), IDCANCEL otherwise.
int ShowConnectDialog();

INT_PTR CALLBACK ConnectDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
