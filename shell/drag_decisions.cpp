#include "shell/drag_decisions.h"

bool StrictlyInside(const ScreenRect& rect, long x, long y) {
  return x > rect.left && x < rect.right && y > rect.top && y < rect.bottom;
}

DragAnswer DecideDragEnd(DragSourceKind kind, bool escape, bool buttonDown, long x, long y,
                         const ScreenRect& localList, const ScreenRect& remoteList, bool archiveMode) {
  if (escape) return DragAnswer::Cancel;
  if (buttonDown) return DragAnswer::GoOn;
  if (kind == DragSourceKind::Remote)
    return StrictlyInside(remoteList, x, y) ? DragAnswer::Cancel : DragAnswer::DownloadThenDrop;
  if (StrictlyInside(localList, x, y)) return DragAnswer::Cancel;
  return archiveMode ? DragAnswer::ExtractThenDrop : DragAnswer::Drop;
}
