// The two file lists: their creation with the five columns, and their view styles.
#pragma once
#include <windows.h>

// LocalList (id 2000) and RemoteList (id 2100) at their first rectangles; null when a
// list or one of its columns cannot be made.
HWND CreateLocalList(HWND parent, int x, int y, int width, int height);
HWND CreateRemoteList(HWND parent, int x, int y, int width, int height);

// Switches the list to the view style of a View command (40001-40004); the other
// style bits stay.
void ApplyViewStyle(HWND list, int command);

// True while the list shows details (its column widths are then worth keeping).
bool IsDetailsView(HWND list);
int ColumnWidth(HWND list, int column);
