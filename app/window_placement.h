// Where the main window opens: the saved placement made to fit the work area of the monitor
// nearest to it. A window closed while minimized, a hand-edited or foreign vako.ini, or a
// monitor that is gone must never open it off-screen or as a strip.
#pragma once
#include "config/options.h"

// The smallest window that still shows both panes; a saved size below it is replaced by the
// default size.
constexpr int kSmallestWindowWidth = 200;
constexpr int kSmallestWindowHeight = 120;

// The saved rectangle within the work area: as large as saved (at most the work area), moved
// the least distance that brings all of it inside. `maximized` is kept as it is.
Placement FitPlacement(const Placement& saved, const Placement& workArea);

// Where a dialog of the given size opens: its centre on the centre of `owner` (each half taken
// on its own, rounded toward zero), then moved the least distance that keeps it within the
// work area; a dialog larger than the work area keeps its top left corner there, so that its
// title bar and first buttons can always be reached.
Placement CenteredOnWindow(const Placement& owner, int width, int height, const Placement& workArea);
