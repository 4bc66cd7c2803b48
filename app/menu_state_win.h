// The main menu's grays and checks, the toolbar's connection and transfer buttons, and
// the texts of the two caption strips, recomputed from the program's state.
#pragma once

// The argument has no effect on the result; callers pass 0 or 1.
void UpdateMenuState(int flag);
void UpdatePaneLabels(int flag);
