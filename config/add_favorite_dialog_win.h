// The Add Favorite dialog: the name under which the open connection is kept.
#pragma once
#include <windows.h>

// Shows dialog 142 over the main window with the current host profile's HostName.
// On OK the typed name (up to 255 characters) becomes CurrentHost.HostName and the
// answer is IDOK; otherwise IDCANCEL and nothing changes.
INT_PTR ShowAddFavoriteDialog();
