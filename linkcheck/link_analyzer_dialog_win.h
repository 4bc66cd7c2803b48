// The link analyzer: the links of the HTML files selected in the local list, with the tag
// and file each came from and whether a local target exists.
#pragma once
#include <windows.h>

// Dialog 170, modal over `owner`, centred on the main window. Every selected row of the
// local list is scanned (by its name, relative to the current folder) before the dialog
// shows. 1 when closed by OK, 0 otherwise.
int AnalyzeLinks(HWND owner);

INT_PTR CALLBACK LinkAnalyzerDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
