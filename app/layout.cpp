#include "app/layout.h"

namespace {

PaneRect R(int left, int top, int width, int height) {
  PaneRect r;
  r.left = left;
  r.top = top;
  r.width = width < 0 ? 0 : width;
  r.height = height < 0 ? 0 : height;
  return r;
}

constexpr int kLargestClient = 1 << 20;
int Within(int v, int high) { return v < 0 ? 0 : v > high ? high : v; }

}  // namespace

LayoutInput KeptWithinClient(LayoutInput in) {
  in.width = Within(in.width, kLargestClient);
  in.height = Within(in.height, kLargestClient);
  in.splitPos = Within(in.splitPos, in.width);
  in.splitPos2 = Within(in.splitPos2, in.height);
  in.tl = Within(in.tl, in.width);
  in.tr = Within(in.tr, in.width);
  in.labelHeight = Within(in.labelHeight, 256);
  in.statusHeight = Within(in.statusHeight, 256);
  return in;
}

PaneLayout ComputeLayout(const LayoutInput& given) {
  const LayoutInput in = KeptWithinClient(given);
  const int W = in.width, H = in.height, T = in.toolbarHeight;
  const int X = in.splitPos, Y = in.splitPos2;
  const int L = in.treeView == 1 ? in.tl : 0;
  const int Rw = in.treeView == 1 ? in.tr : 0;
  // A caption strip of height C above each list, the status bar of height S below.
  const int C = in.labelHeight, S = in.statusHeight;
  PaneLayout p;
  if (in.windowDiv == 0) {
    const int listHeight = H - S - 1 - C - T;
    p.localLabel = R(0, T, X - 2, C);
    p.localList = R(L, T + C, X - 2 - L, listHeight);
    p.remoteLabel = R(X, T, W - X, C);
    p.remoteList = R(X + Rw, T + C, W - X - Rw, listHeight);
    p.localTree = R(0, T + C, L - 1, listHeight);
    p.remoteTree = R(X, T + C, Rw - 1, listHeight);
  } else {
    const int remoteTop = T + Y + 2 + C, remoteHeight = H - Y - T - 3 - C - S;
    p.localLabel = R(0, T, W, C);
    p.localList = R(L, T + C, W - L, Y - C - 1);
    p.remoteList = R(Rw, remoteTop, W - Rw, remoteHeight);
    p.remoteLabel = R(0, T + Y + 1, W, C);
    p.remoteTree = R(0, remoteTop, Rw - 2, remoteHeight);
    p.localTree = R(0, T + C, L - 2, Y - C - 1);
  }
  p.statusBar = R(0, H - S, W, S);
  p.progressBar = R(W - 160, 3, 144, 15);
  p.toolbarShown = T == 32;
  if (p.toolbarShown) p.toolbar = R(0, 0, W, 32);
  return p;
}
