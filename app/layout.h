// Where the main window's children go for a client size and the layout settings.
#pragma once

struct PaneRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const PaneRect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

struct LayoutInput {
  int width = 0, height = 0;  // client size
  int toolbarHeight = 32;     // 32 while the toolbar is shown, else 0
  int windowDiv = 1;          // 1 stacked (local above remote), 0 side by side
  int splitPos = 128;         // side by side: x where the remote pane begins
  int splitPos2 = 128;        // stacked: y of the split below the toolbar
  int tl = 180, tr = 180;     // tree widths
  int treeView = 1;           // 0: trees get no width
  int labelHeight = 16;       // the caption strips' height, from their font
  int statusHeight = 16;      // the status bar's own height, from its font
};

struct PaneLayout {
  PaneRect localLabel, localList, localTree;
  PaneRect remoteLabel, remoteList, remoteTree;
  PaneRect statusBar, progressBar, toolbar;  // progressBar inside the status bar
  bool toolbarShown = false;
};

// Split positions and tree widths come from vako.ini, where any number may stand: kept within
// the client area (0 up to its width or height), no sum made of them can overflow.
LayoutInput KeptWithinClient(LayoutInput in);

// Negative widths and heights come out as zero. The input is kept within the client first.
PaneLayout ComputeLayout(const LayoutInput& in);
