// Dragging the three split bars of the main window with the left mouse button.
#pragma once
#include <windows.h>

void SplitBarButtonDown(HWND window, LPARAM position);
void SplitBarMouseMove(HWND window, LPARAM position);
void SplitBarButtonUp(HWND window, LPARAM position);
bool SplitBarDragging();
// The mouse capture was lost mid-drag (another window took it, Alt+Tab, a menu): the bar
// is erased and the drag given up; the settings keep their values.
void SplitBarCancel(HWND window);
