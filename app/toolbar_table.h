// The toolbar's buttons and the string-table texts of their tooltips.
#pragma once
#include <cstddef>

struct ToolbarButtonSpec {
  int image;    // index into the toolbar bitmap; -1 for a separator
  int command;  // 0 for a separator
};

// The 20 entries in order, separators included.
const ToolbarButtonSpec* ToolbarButtons(size_t* count);

// The string id of a command's tooltip, or 0 when the command has none.
int TooltipStringOfCommand(int command);
