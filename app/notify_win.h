// Notifications of the two file lists, the two folder trees and the toolbar's tooltips.
#pragma once
#include <windows.h>

LRESULT HandleNotify(HWND window, WPARAM wParam, LPARAM lParam);

// The pane handlers, one file each.
void LocalListNotify(NMHDR* header);
void RemoteListNotify(NMHDR* header);
void LocalTreeNotify(NMHDR* header);
void RemoteTreeNotify(NMHDR* header);

// The list row under the mouse position of the message being handled (on an icon or a
// label), or -1.
int ListRowUnderMouse(HWND list);
// Starts and ends the edit state shared by both lists' in-place renames.
void BeginListLabelEdit(HWND list, int row);
