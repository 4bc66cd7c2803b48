// The host-settings sheet "Connect to favorites": pages Basic, Details and Proxy over the
// current host profile and the favorite file at CurrentFavoritePath.
#pragma once
#include <windows.h>

// Shows the sheet over the main window. IDOK when it was closed with OK (each page the
// user opened has then been applied), IDCANCEL otherwise, also when it could not open.
INT_PTR ShowHostSettingsSheet();
