#include "app/split_bars.h"

namespace {

PaneRect Bar(int left, int top, int width, int height) {
  PaneRect r;
  r.left = left;
  r.top = top;
  r.width = width;
  r.height = height;
  return r;
}

bool Stacked(const LayoutInput& in) { return in.windowDiv != 0; }

// The bar rectangle of `bar` at position p (bx or by).
PaneRect BarRect(const LayoutInput& in, SplitBarId bar, int p) {
  const int W = in.width, H = in.height, T = in.toolbarHeight, Y = in.splitPos2;
  const int C = in.labelHeight, S = in.statusHeight;
  if (!Stacked(in)) {
    if (bar == PaneSplitter) return Bar(p, T + C, 3, H - C - S);
    return Bar(p, T + C, 3, H - C - S - T);
  }
  switch (bar) {
    case PaneSplitter: return Bar(0, p, W, 3);
    case LocalTreeSplitter: return Bar(p, T + C, 3, Y - C);
    default: return Bar(p, T + Y + C, 3, H - Y - C - S - T);
  }
}

int AtLeastThenAtMost(int v, int low, int high) {  // both, the upper last
  if (v < low) v = low;
  if (v > high) v = high;
  return v;
}

int LowerElseUpper(int v, int low, int high) {
  if (v < low) return low;
  if (v > high) return high;
  return v;
}

}  // namespace

MousePoint MousePointOfParam(uint32_t lParam) {
  MousePoint p;
  p.x = static_cast<int16_t>(lParam & 0xFFFF);
  p.y = static_cast<int16_t>((lParam >> 16) & 0xFFFF);
  return p;
}

SplitPress PressSplitBar(const LayoutInput& in, int x, int y, unsigned draggingMask) {
  const int T = in.toolbarHeight, X = in.splitPos, Y = in.splitPos2, C = in.labelHeight;
  auto free = [&](SplitBarId b) { return !(draggingMask & (1u << b)); };
  SplitPress press;
  auto start = [&](SplitBarId b, SplitCursor c, int pos) {
    press.bar = b;
    press.cursor = c;
    press.rect = BarRect(in, b, pos);
  };
  if (!Stacked(in)) {
    if (free(PaneSplitter) && X - 4 < x && x < X + 4 && y > T + C) start(PaneSplitter, SplitCursorV, x - 1);
    else if (free(LocalTreeSplitter) && x < X - 4 && y > T + C) start(LocalTreeSplitter, SplitCursorV, x - 2);
    else if (free(RemoteTreeSplitter) && x > X + 4 && y > T + C) start(RemoteTreeSplitter, SplitCursorV, x - 2);
    else if (y >= T && y <= T + C) press.activatePane = x < X ? 0 : 1;
    return press;
  }
  if (free(PaneSplitter) && T + Y - 4 < y && y < T + Y + 1) start(PaneSplitter, SplitCursorH, y - 1);
  else if (free(LocalTreeSplitter) && T + C < y && y < T + Y) start(LocalTreeSplitter, SplitCursorV, x - 2);
  else if (free(RemoteTreeSplitter) && y > T + Y + C) start(RemoteTreeSplitter, SplitCursorV, x - 2);
  else press.activatePane = y < T + C ? 0 : 1;
  return press;
}

PaneRect MoveSplitBar(const LayoutInput& in, SplitBarId bar, int x, int y) {
  const int W = in.width, T = in.toolbarHeight, X = in.splitPos;
  int p;
  if (!Stacked(in)) {
    p = x - 2;
    if (bar == PaneSplitter) {
      if (p < in.tl + 8) p = in.tl + 8;
    } else if (bar == LocalTreeSplitter) {
      p = AtLeastThenAtMost(p, 8, X - 8);
    } else {
      p = AtLeastThenAtMost(p, X + 8, W - 8);
    }
  } else if (bar == PaneSplitter) {
    p = y - 1;
    if (p < T + 32) p = T + 32;
  } else {
    p = x - 2;
    if (p < 8) p = 8;
  }
  return BarRect(in, bar, p);
}

SplitCursor CursorForMove(const LayoutInput& in, SplitBarId dragged, int x, int y) {
  const int T = in.toolbarHeight, Y = in.splitPos2, C = in.labelHeight;
  if (dragged != NoSplitBar) return Stacked(in) && dragged == PaneSplitter ? SplitCursorH : SplitCursorV;
  if (!Stacked(in)) return y > T + C ? SplitCursorV : ArrowCursor;
  if (T + Y - 5 < y && y < T + Y) return SplitCursorH;
  if ((T + C < y && y < T + Y) || y > T + Y + C) return SplitCursorV;
  return ArrowCursor;
}

void ReleaseSplitBar(LayoutInput& in, SplitBarId bar, int x, int y) {
  const int W = in.width, H = in.height, T = in.toolbarHeight, X = in.splitPos;
  if (!Stacked(in)) {
    switch (bar) {
      case PaneSplitter: in.splitPos = LowerElseUpper(x + 1, in.tl + 8, W - 8); break;
      case LocalTreeSplitter: in.tl = LowerElseUpper(x - 2, 8, X - 8); break;
      case RemoteTreeSplitter: in.tr = LowerElseUpper(x - 2 - X, 8, W - X - 8); break;
      default: break;
    }
    return;
  }
  switch (bar) {
    case PaneSplitter: in.splitPos2 = LowerElseUpper(y + 2 - T, T + 8, H - 72); break;
    case LocalTreeSplitter: in.tl = LowerElseUpper(x - 2, 8, W - 8); break;
    case RemoteTreeSplitter: in.tr = LowerElseUpper(x - 2, 8, W - 8); break;
    default: break;
  }
}
