// Commands that change how the panes look: view styles, sort order and direction, the
// toolbar, the trees, the toggle buttons and the selection.
#pragma once

void SetViewStyle(int command);    // 40001-40004 on the active pane
void SetSortOrder(int command);    // 40023-40028 on the active pane
void SetSortDirection(int command);  // 40076 ascending, 40077 descending
void ToggleToolbar();              // 40073
void ToggleTreeView();             // 40075
void ToggleSynchronize();          // 40079
void ToggleAutoDetect();           // 40080
void SelectAllRows();              // 40090: every row but ".."
void InvertSelection();            // 40097
