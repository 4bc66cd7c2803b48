#include "app/split_bar_drag_win.h"

#include "app/active_pane_win.h"
#include "app/main_window_win.h"
#include "app/split_bars.h"
#include "config/options.h"

namespace {

// A bar being dragged has a device context of the main window; its rectangle is the
// one it was last drawn with, so drawing it again erases it.
struct BarDrag {
  HDC dc = nullptr;
  PaneRect rect;
};
BarDrag Drags[3];

void Invert(const BarDrag& drag) {
  PatBlt(drag.dc, drag.rect.left, drag.rect.top, drag.rect.width, drag.rect.height, DSTINVERT);
}

SplitBarId DraggedBar() {
  for (int bar = 0; bar < 3; ++bar) {
    if (Drags[bar].dc) return static_cast<SplitBarId>(bar);
  }
  return NoSplitBar;
}

unsigned DraggingMask() {
  unsigned mask = 0;
  for (int bar = 0; bar < 3; ++bar) {
    if (Drags[bar].dc) mask |= 1u << bar;
  }
  return mask;
}

LayoutInput InputNow(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return LayoutInputOf(client.right, client.bottom);
}

void ShowCursorOf(SplitCursor cursor) {
  if (cursor == SplitCursorV) SetCursor(SplitCursorVertical);
  else if (cursor == SplitCursorH) SetCursor(SplitCursorHorizontal);
}

}  // namespace

bool SplitBarDragging() { return DraggedBar() != NoSplitBar; }

void SplitBarButtonDown(HWND window, LPARAM position) {
  const MousePoint p = MousePointOfParam(static_cast<uint32_t>(position));
  const SplitPress press = PressSplitBar(InputNow(window), p.x, p.y, DraggingMask());
  if (press.bar == NoSplitBar) {
    if (press.activatePane >= 0 && press.activatePane != ActivePane) ActivatePane(press.activatePane);
    return;
  }
  ShowCursorOf(press.cursor);
  SetCapture(window);
  BarDrag& drag = Drags[press.bar];
  drag.dc = GetDC(window);
  drag.rect = press.rect;
  Invert(drag);
}

void SplitBarMouseMove(HWND window, LPARAM position) {
  const MousePoint p = MousePointOfParam(static_cast<uint32_t>(position));
  const LayoutInput in = InputNow(window);
  const SplitBarId bar = DraggedBar();
  ShowCursorOf(CursorForMove(in, bar, p.x, p.y));
  if (bar == NoSplitBar) return;
  BarDrag& drag = Drags[bar];
  Invert(drag);
  drag.rect = MoveSplitBar(in, bar, p.x, p.y);
  Invert(drag);
}

void SplitBarButtonUp(HWND window, LPARAM position) {
  const SplitBarId bar = DraggedBar();
  if (bar == NoSplitBar) return;
  const MousePoint p = MousePointOfParam(static_cast<uint32_t>(position));
  BarDrag& drag = Drags[bar];
  Invert(drag);
  LayoutInput in = InputNow(window);
  ReleaseSplitBar(in, bar, p.x, p.y);
  Options.WindowSplitPos = in.splitPos;
  Options.WindowSplitPos2 = in.splitPos2;
  Options.TL = in.tl;
  Options.TR = in.tr;
  // The drag is over before the capture goes: losing it then cancels nothing.
  ReleaseDC(window, drag.dc);
  drag.dc = nullptr;
  ReleaseCapture();
  RECT client;
  GetClientRect(window, &client);
  LayoutPanes(client.right, client.bottom);
  ActivatePane(ActivePane);
}

void SplitBarCancel(HWND window) {
  const SplitBarId bar = DraggedBar();
  if (bar == NoSplitBar) return;
  BarDrag& drag = Drags[bar];
  Invert(drag);
  ReleaseDC(window, drag.dc);
  drag.dc = nullptr;
  if (GetCapture() == window) ReleaseCapture();
}
