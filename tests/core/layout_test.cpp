// Layout rectangles of both arrangements and the split bars' press zones and clamps.
#include <gtest/gtest.h>

#include "app/layout.h"
#include "app/split_bars.h"

// Readable rectangles in failure messages (found by argument-dependent lookup).
void PrintTo(const PaneRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << ")";
}

namespace {

PaneRect Rc(int l, int t, int w, int h) {
  PaneRect r;
  r.left = l;
  r.top = t;
  r.width = w;
  r.height = h;
  return r;
}

LayoutInput SideBySide() {
  LayoutInput in;
  in.width = 800;
  in.height = 600;
  in.toolbarHeight = 32;
  in.windowDiv = 0;
  in.splitPos = 300;
  in.tl = in.tr = 180;
  in.treeView = 1;
  return in;
}

LayoutInput Stacked() {
  LayoutInput in;
  in.width = 640;
  in.height = 480;
  in.toolbarHeight = 0;
  in.windowDiv = 1;
  in.splitPos2 = 128;
  in.treeView = 0;
  return in;
}

TEST(Layout, SideBySideExample) {
  PaneLayout p = ComputeLayout(SideBySide());
  EXPECT_EQ(p.localList, Rc(180, 48, 118, 535));
  EXPECT_EQ(p.remoteList, Rc(480, 48, 320, 535));
  EXPECT_EQ(p.remoteLabel, Rc(300, 32, 500, 16));
  EXPECT_EQ(p.localLabel, Rc(0, 32, 298, 16));
  EXPECT_EQ(p.localTree, Rc(0, 48, 179, 535));
  EXPECT_EQ(p.remoteTree, Rc(300, 48, 179, 535));
  EXPECT_EQ(p.statusBar, Rc(0, 584, 800, 16));
  EXPECT_EQ(p.progressBar, Rc(640, 3, 144, 15));
  EXPECT_TRUE(p.toolbarShown);
  EXPECT_EQ(p.toolbar, Rc(0, 0, 800, 32));
}

TEST(Layout, StackedExampleWithHiddenTrees) {
  PaneLayout p = ComputeLayout(Stacked());
  EXPECT_EQ(p.localLabel, Rc(0, 0, 640, 16));
  EXPECT_EQ(p.localList, Rc(0, 16, 640, 111));
  EXPECT_EQ(p.remoteLabel, Rc(0, 129, 640, 16));
  EXPECT_EQ(p.remoteList, Rc(0, 146, 640, 317));
  // Hidden trees get no width (negative widths come out as zero), never a negative one.
  EXPECT_EQ(p.localTree, Rc(0, 16, 0, 111));
  EXPECT_EQ(p.remoteTree, Rc(0, 146, 0, 317));
  EXPECT_FALSE(p.toolbarShown);
}

TEST(Layout, ToolbarMovesEverythingByItsHeight) {
  for (LayoutInput in : {SideBySide(), Stacked()}) {
    in.toolbarHeight = 0;
    PaneLayout hidden = ComputeLayout(in);
    in.toolbarHeight = 32;
    PaneLayout shown = ComputeLayout(in);
    const PaneRect PaneLayout::*moved[] = {&PaneLayout::localLabel, &PaneLayout::localList,
                                           &PaneLayout::localTree, &PaneLayout::remoteLabel,
                                           &PaneLayout::remoteList, &PaneLayout::remoteTree};
    for (auto m : moved) {
      EXPECT_EQ((shown.*m).top, (hidden.*m).top + 32);
      EXPECT_EQ((shown.*m).left, (hidden.*m).left);
      EXPECT_EQ((shown.*m).width, (hidden.*m).width);
    }
    EXPECT_EQ(shown.statusBar, hidden.statusBar);
  }
}

TEST(SplitBars, SideBySidePressZones) {
  LayoutInput in = SideBySide();
  SplitPress p = PressSplitBar(in, 301, 100, 0);
  EXPECT_EQ(p.bar, PaneSplitter);
  EXPECT_EQ(p.cursor, SplitCursorV);
  EXPECT_EQ(p.rect, Rc(300, 48, 3, 568));
  p = PressSplitBar(in, 179, 100, 0);
  EXPECT_EQ(p.bar, LocalTreeSplitter);
  EXPECT_EQ(p.rect, Rc(177, 48, 3, 536));
  p = PressSplitBar(in, 479, 100, 0);
  EXPECT_EQ(p.bar, RemoteTreeSplitter);
  // A bar being dragged cannot be pressed again; the next zone that matches wins.
  EXPECT_EQ(PressSplitBar(in, 301, 100, 1u << PaneSplitter).bar, NoSplitBar);
  EXPECT_EQ(PressSplitBar(in, 296, 100, 1u << PaneSplitter).bar, NoSplitBar);
  EXPECT_EQ(PressSplitBar(in, 295, 100, 1u << PaneSplitter).bar, LocalTreeSplitter);
  // Caption strips: no drag; the strip's own pane becomes active.
  p = PressSplitBar(in, 100, 40, 0);
  EXPECT_EQ(p.bar, NoSplitBar);
  EXPECT_EQ(p.activatePane, 0);
  EXPECT_EQ(PressSplitBar(in, 500, 48, 0).activatePane, 1);
}

TEST(SplitBars, StackedPressZonesAndCaptions) {
  LayoutInput in = Stacked();
  in.toolbarHeight = 32;
  in.treeView = 1;
  SplitPress p = PressSplitBar(in, 50, 32 + 128 - 2, 0);
  EXPECT_EQ(p.bar, PaneSplitter);
  EXPECT_EQ(p.cursor, SplitCursorH);
  EXPECT_EQ(p.rect, Rc(0, 157, 640, 3));
  p = PressSplitBar(in, 180, 100, 0);
  EXPECT_EQ(p.bar, LocalTreeSplitter);
  EXPECT_EQ(p.rect, Rc(178, 48, 3, 112));
  p = PressSplitBar(in, 180, 300, 0);
  EXPECT_EQ(p.bar, RemoteTreeSplitter);
  EXPECT_EQ(p.rect, Rc(178, 176, 3, 480 - 128 - 32 - 32));
  // A press that starts no drag activates the pane of the strip it hit.
  p = PressSplitBar(in, 300, 40, 0);
  EXPECT_EQ(p.bar, NoSplitBar);
  EXPECT_EQ(p.activatePane, 0);
  EXPECT_EQ(PressSplitBar(in, 300, 32 + 128 + 10, 0).activatePane, 1);
}

TEST(SplitBars, ReleaseClampsLowerFirst) {
  LayoutInput in = SideBySide();
  ReleaseSplitBar(in, PaneSplitter, 10, 100);
  EXPECT_EQ(in.splitPos, 188);
  in = SideBySide();
  in.treeView = 0;  // the setting counts also while the trees are hidden
  ReleaseSplitBar(in, PaneSplitter, 10, 100);
  EXPECT_EQ(in.splitPos, 188);
  in = SideBySide();
  ReleaseSplitBar(in, PaneSplitter, 799, 100);
  EXPECT_EQ(in.splitPos, 792);
  in = SideBySide();
  ReleaseSplitBar(in, LocalTreeSplitter, 500, 100);
  EXPECT_EQ(in.tl, 292);
  in = SideBySide();
  ReleaseSplitBar(in, RemoteTreeSplitter, 402, 100);
  EXPECT_EQ(in.tr, 100);
  ReleaseSplitBar(in, RemoteTreeSplitter, 2000, 100);
  EXPECT_EQ(in.tr, 492);
  // Too small a window: the lower limit wins when it applies...
  in = SideBySide();
  in.splitPos = 10;
  ReleaseSplitBar(in, LocalTreeSplitter, 5, 100);
  EXPECT_EQ(in.tl, 8);
  // ...otherwise the upper one applies even below the lower.
  ReleaseSplitBar(in, LocalTreeSplitter, 12, 100);
  EXPECT_EQ(in.tl, 2);

  LayoutInput st = Stacked();
  st.toolbarHeight = 32;
  ReleaseSplitBar(st, PaneSplitter, 0, 5);
  EXPECT_EQ(st.splitPos2, 40);
  ReleaseSplitBar(st, PaneSplitter, 0, st.height - 1);
  EXPECT_EQ(st.splitPos2, st.height - 72);
  ReleaseSplitBar(st, LocalTreeSplitter, 1000, 0);
  EXPECT_EQ(st.tl, st.width - 8);
  ReleaseSplitBar(st, RemoteTreeSplitter, 3, 0);
  EXPECT_EQ(st.tr, 8);
}

TEST(SplitBars, MovingAppliesBothLimitsUpperLast) {
  LayoutInput in = SideBySide();
  EXPECT_EQ(MoveSplitBar(in, PaneSplitter, 10, 0).left, 188);
  EXPECT_EQ(MoveSplitBar(in, PaneSplitter, 5000, 0).left, 4998);  // no upper limit
  EXPECT_EQ(MoveSplitBar(in, LocalTreeSplitter, 1000, 0).left, 292);
  EXPECT_EQ(MoveSplitBar(in, RemoteTreeSplitter, 0, 0).left, 308);
  EXPECT_EQ(MoveSplitBar(in, RemoteTreeSplitter, 1000, 0).left, 792);
  in.splitPos = 10;
  EXPECT_EQ(MoveSplitBar(in, LocalTreeSplitter, 5, 0).left, 2);
  LayoutInput st = Stacked();
  st.toolbarHeight = 32;
  EXPECT_EQ(MoveSplitBar(st, PaneSplitter, 0, 3).top, 64);
  EXPECT_EQ(MoveSplitBar(st, PaneSplitter, 0, 3).height, 3);
  EXPECT_EQ(MoveSplitBar(st, LocalTreeSplitter, 0, 0).left, 8);
}

TEST(SplitBars, CursorsAndMousePositions) {
  LayoutInput in = Stacked();
  in.toolbarHeight = 32;
  EXPECT_EQ(CursorForMove(in, NoSplitBar, 0, 32 + 128 - 3), SplitCursorH);
  EXPECT_EQ(CursorForMove(in, NoSplitBar, 0, 100), SplitCursorV);
  EXPECT_EQ(CursorForMove(in, NoSplitBar, 0, 32 + 128 + 5), ArrowCursor);
  EXPECT_EQ(CursorForMove(in, NoSplitBar, 0, 40), ArrowCursor);
  EXPECT_EQ(CursorForMove(in, PaneSplitter, 0, 0), SplitCursorH);
  EXPECT_EQ(CursorForMove(in, LocalTreeSplitter, 0, 0), SplitCursorV);
  LayoutInput sbs = SideBySide();
  EXPECT_EQ(CursorForMove(sbs, NoSplitBar, 0, 49), SplitCursorV);
  EXPECT_EQ(CursorForMove(sbs, NoSplitBar, 0, 48), ArrowCursor);
  EXPECT_EQ(CursorForMove(sbs, PaneSplitter, 0, 0), SplitCursorV);

  // A captured mouse left of or above the window gives negative coordinates.
  MousePoint m = MousePointOfParam(0xFFFEFFECu);
  EXPECT_EQ(m.x, -20);
  EXPECT_EQ(m.y, -2);
  ReleaseSplitBar(sbs, PaneSplitter, m.x, m.y);
  EXPECT_EQ(sbs.splitPos, 188);  // the far left, not the far right
  m = MousePointOfParam((600u << 16) | 700u);
  EXPECT_EQ(m.x, 700);
  EXPECT_EQ(m.y, 600);
}

}  // namespace
