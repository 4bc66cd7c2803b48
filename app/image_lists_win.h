// The icon lists of the file lists and folder trees. The program's own lists belong to
// the main window; the shell's system lists are only borrowed.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern HIMAGELIST OwnLargeIcons, OwnSmallIcons, TreeIcons;
extern HIMAGELIST SystemSmallIcons, SystemLargeIcons;

void CreateImageLists();
void DestroyImageLists();

// Gives the local list the system icons ("DetailIcon" 1, no archive shown) or the
// program's own; nothing is sent when the list already has the chosen set.
void ApplyIconSet(HWND listView);
