// How a drag out of one of the program's lists goes on when the system asks the drop
// source: the decision alone, from the keys, the buttons and where the cursor is.
#pragma once

struct ScreenRect {
  long left = 0, top = 0, right = 0, bottom = 0;
};

enum class DragSourceKind { Local, Remote };

enum class DragAnswer {
  GoOn,              // a mouse button is still down
  Cancel,            // Escape, or released where a drop would do nothing
  Drop,              // the receiver takes the offered files as they are
  DownloadThenDrop,  // the remote entries arrive over their placeholders first
  ExtractThenDrop,   // the archive members are extracted over their placeholders first
};

// True when the point lies inside the rectangle and on none of its edges.
bool StrictlyInside(const ScreenRect& rect, long x, long y);

// A release over the list the drag came from drops nothing. Archive members are extracted
// before any drop, also one on the program's own remote list: the drop job there would
// otherwise send the placeholders.
DragAnswer DecideDragEnd(DragSourceKind kind, bool escape, bool buttonDown, long x, long y,
                         const ScreenRect& localList, const ScreenRect& remoteList, bool archiveMode);
