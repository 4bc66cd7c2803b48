// The Options sheet: pages Basic, Transfer, View, UNLHA32, Permission, Proxy and Details
// over the options record.
#pragma once
#include <windows.h>

// Shows the sheet over the main window. IDOK when it was closed with OK (each page the
// user opened has then been applied to Options), IDCANCEL otherwise.
INT_PTR ShowOptionsSheet();
