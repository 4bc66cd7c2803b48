// Which command may run in which state. The command's action itself belongs to the
// window code; this table only answers whether the row runs, does nothing, or is not a
// row at all (the id then goes to the default window procedure).
#pragma once

struct CommandState {
  int jobRunning = 0;
  int connected = 0;
  int activePane = 0;  // 0 local, 1 remote
  int archiveMode = 0;
};

enum CommandGate {
  CommandRuns,        // a table row whose condition holds: carry it out
  CommandRefused,     // a table row whose condition fails: it does nothing
  CommandUnhandled,   // not a row: hand the id to the default window procedure
  CommandFavorite,    // a favorite entry: connect from its file, nothing else
};

// The range of the Favorites menu's entries: 20000 up to, not including, 20100.
constexpr int kFirstFavoriteCommand = 20000;
constexpr int kFavoriteCommandEnd = 20100;

CommandGate GateCommand(int id, const CommandState& state);

// True for the rows after which the menus are recomputed (every table row, also one
// that did nothing). Favorites and unhandled ids are not rows.
inline bool UpdatesMenusAfter(CommandGate gate) { return gate == CommandRuns || gate == CommandRefused; }

// The list view style of a View command (40001 icon, 40002 small icon, 40003 list,
// 40004 or anything else report), as the list view's style bits.
int ListViewStyleOfCommand(int id);

// The column a sort command sorts by (40023 name ... 40027 attributes); -1 for 40028.
int SortKeyOfCommand(int id);
