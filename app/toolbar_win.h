// The toolbar: its buttons, their states and their tooltips.
#pragma once
#include <windows.h>
#include <commctrl.h>

// Creates Toolbar (id 2031) from the button table, flat when "ToolFlat" says so.
void CreateToolbar();
void DestroyToolbar();

// Sends the state to the command's button; nothing happens while there is no toolbar.
void SetToolbarButtonState(int command, int state);

// The toggle buttons as start-up sets them: Synchronize and Auto Detect by their
// settings, and the active pane's view style.
void PressToggleButtons();

// Fills a tooltip request with the command's string-table text; false for other codes.
bool AnswerTooltip(NMHDR* header);
