// Which main-menu items are grayed or checked, which toolbar buttons are shown in which
// state, and what the two caption strips say: a pure function of the program's state.
#pragma once
#include <string>
#include <vector>

struct MenuStateInput {
  int jobRunning = 0;
  int connected = 0;
  int activePane = 0;  // 0 local, 1 remote
  int archiveMode = 0;
  int transferMode = 2;
  int toolbarHeight = 32;
  int sortTypeLocal = 40023, sortTypeRemote = 40023;
  int localListType = 40004, remoteListType = 40004;
  int sortSub = 0, sortSubRemote = 0;
  int nkfUp = 0, nkfDown = 0, nkfKana = 0;
  int treeView = 1;
};

// Toolbar button states (the toolbar's state bits).
constexpr int kButtonEnabled = 4;
constexpr int kButtonPressed = 6;        // enabled and pressed
constexpr int kButtonIndeterminate = 16; // drawn grayed
constexpr int kButtonIndeterminatePressed = 18;

struct MenuItemState {
  int id;
  bool grayed;
};

struct RadioCheck {
  int first, last, checked;  // check `checked` within first..last
};

struct ItemCheck {
  int id;
  bool checked;
};

struct ButtonState {
  int id;
  int state;
};

struct MenuState {
  std::vector<MenuItemState> items;  // 40005-40078, 40083-40086 and 40088
  std::vector<RadioCheck> radios;    // an "NKFUp" outside 0-2 leaves its group out
  std::vector<ItemCheck> checks;
  std::vector<ButtonState> buttons;

  // True when the item is grayed; items the table does not hold answer false.
  bool Grayed(int id) const;
  // The checked item of the radio group starting at `first`, or 0 when not set here.
  int RadioChecked(int first) const;
  bool Checked(int id) const;
  // The state of a toolbar button, or -1 when not set here.
  int Button(int id) const;
};

MenuState ComputeMenuState(const MenuStateInput& in);

// The caption strips' texts, each cut to at most 263 bytes without splitting a
// two-byte character.
struct PaneCaptions {
  std::string local, remote;
};

PaneCaptions ComputePaneCaptions(const std::string& currentLocalFolder, int archiveMode,
                                 const std::string& archivePath, int connected,
                                 const std::string& currentRemoteFolder,
                                 const std::string& unconnectedText);
