// Drags out of the file lists to other programs: the shell's own data object of the
// entries (placeholders in the work folder for remote entries and archive members) with
// one of the two drop sources. Returns when the drag has ended.
#pragma once
#include <windows.h>

void BeginDragOut(HWND list);
