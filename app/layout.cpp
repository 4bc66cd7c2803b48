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
  return in;
}

PaneLayout ComputeLayout(const LayoutInput& given) {
  const LayoutInput in = KeptWithinClient(given);
  const int W = in.width, H = in.height, T = in.toolbarHeight;
  const int X = in.splitPos, Y = in.splitPos2;
  const int L = in.treeView == 1 ? in.tl : 0;
  const int Rw = in.treeView == 1 ? in.tr : 0;
  PaneLayout p;
  if (in.windowDiv == 0) {
    p.localLabel = R(0, T, X - 2, 16);
    p.localList = R(L, T + 16, X - 2 - L, H - 33 - T);
    p.remoteLabel = R(X, T, W - X, 16);
    p.remoteList = R(X + Rw, T + 16, W - X - Rw, H - 33 - T);
    p.localTree = R(0, T + 16, L - 1, H - 33 - T);
    p.remoteTree = R(X, T + 16, Rw - 1, H - 33 - T);
  } else {
    p.localLabel = R(0, T, W, 16);
    p.localList = R(L, T + 16, W - L, Y - 17);
    p.remoteList = R(Rw, T + Y + 18, W - Rw, H - Y - T - 35);
    p.remoteLabel = R(0, T + Y + 1, W, 16);
    p.remoteTree = R(0, T + Y + 18, Rw - 2, H - Y - T - 35);
    p.localTree = R(0, T + 16, L - 2, Y - 17);
  }
  p.statusBar = R(0, H - 16, W, 16);
  p.progressBar = R(W - 160, 3, 144, 15);
  p.toolbarShown = T == 32;
  if (p.toolbarShown) p.toolbar = R(0, 0, W, 32);
  return p;
}
