// The three draggable split bars of the main window: where a press starts a drag, where
// the bar is drawn while it moves, and which setting its release changes. Geometry and
// settings come in a LayoutInput (W, H, T, X = splitPos, Y = splitPos2, TL, TR).
#pragma once
#include <cstdint>

#include "app/layout.h"

enum SplitBarId { NoSplitBar = -1, PaneSplitter = 0, LocalTreeSplitter = 1, RemoteTreeSplitter = 2 };
enum SplitCursor { ArrowCursor = 0, SplitCursorV = 1, SplitCursorH = 2 };

struct MousePoint {
  int x = 0, y = 0;
};

// The point of a mouse message's position value. The halves are signed: while the mouse
// is captured it may leave the window to the left or top, and must not count as a point
// far to the right or bottom.
MousePoint MousePointOfParam(uint32_t lParam);

struct SplitPress {
  SplitBarId bar = NoSplitBar;
  SplitCursor cursor = ArrowCursor;
  PaneRect rect;           // the bar as first drawn
  int activatePane = -1;   // a press on a caption strip: the pane it belongs to
};

// A left-button press. draggingMask has bit (1 << bar) set for each bar being dragged;
// such a bar cannot be pressed again. When no bar is hit, a press on a caption strip
// names the pane to activate (the caller activates it only when not already active).
SplitPress PressSplitBar(const LayoutInput& in, int x, int y, unsigned draggingMask);

// The bar rectangle while the mouse moves with `bar` dragged, clamped as it moves.
PaneRect MoveSplitBar(const LayoutInput& in, SplitBarId bar, int x, int y);

// The cursor shown for a move: with a bar being dragged, or over the split areas when not.
SplitCursor CursorForMove(const LayoutInput& in, SplitBarId dragged, int x, int y);

// The release of a dragged bar: sets splitPos, splitPos2, tl or tr in `in`, clamped.
// The lower limit is tested first; the upper limit applies only when the lower did not.
void ReleaseSplitBar(LayoutInput& in, SplitBarId bar, int x, int y);
