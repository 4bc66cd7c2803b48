// Dragging the three split bars of the main window with the left mouse button.
#pragma once
#include <windows.h>

void SplitBarButtonDown(HWND window, LPARAM position);
void SplitBarMouseMove(HWND window, LPARAM position);
void SplitBarButtonUp(HWND window, LPARAM position);
bool SplitBarDragging();
