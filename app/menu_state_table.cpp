#include "app/menu_state_table.h"

#include <map>

#include "text/path_text.h"
#include "text/sjis.h"

namespace {

const size_t kCaptionLimit = 263;

std::string CutCaption(const std::string& text) {
  if (text.size() <= kCaptionLimit) return text;
  size_t end = 0;
  for (size_t i = 0; i < kCaptionLimit;) {
    size_t step = CharWidthAt(text, i);
    if (i + step > kCaptionLimit) break;
    i += step;
    end = i;
  }
  return text.substr(0, end);
}

}  // namespace

MenuState ComputeMenuState(const MenuStateInput& in) {
  const bool job = in.jobRunning != 0, connected = in.connected != 0;
  const bool local = in.activePane == 0, remote = !local, archive = in.archiveMode != 0;

  // The step-by-step order of the table: later steps override earlier ones.
  std::map<int, bool> grayed;
  for (int id = 40005; id <= 40078; ++id) grayed[id] = false;
  grayed[40088] = false;
  for (int id = 40083; id <= 40086; ++id) grayed[id] = true;
  if (archive) {
    for (int id = 40083; id <= 40085; ++id) grayed[id] = false;
  }
  if (job) {
    // Exit stays: closing during a job asks whether to stop it.
    for (int id : {40005, 40006, 40009, 40010, 40011, 40012, 40013, 40014, 40018, 40020,
                   40021, 40078, 40088}) {
      grayed[id] = true;
    }
  }
  if (local) {
    grayed[40010] = true;
    if (!connected) grayed[40009] = grayed[40088] = true;
    if (archive) grayed[40012] = true;
  } else {
    grayed[40009] = true;
    if (!connected) {
      for (int id = 40008; id <= 40014; ++id) grayed[id] = true;
      grayed[40088] = true;
    }
  }
  grayed[40053] = !connected;
  grayed[40006] = !connected;
  grayed[40005] = connected;
  grayed[40074] = !job;

  MenuState s;
  for (const auto& kv : grayed) s.items.push_back({kv.first, kv.second});

  s.radios.push_back({40023, 40028, local ? in.sortTypeLocal : in.sortTypeRemote});
  s.radios.push_back({40001, 40004, local ? in.localListType : in.remoteListType});
  s.radios.push_back({40076, 40077, 40076 + (local ? in.sortSub : in.sortSubRemote)});
  if (in.nkfUp == 1) s.radios.push_back({40064, 40066, 40064});
  else if (in.nkfUp == 2) s.radios.push_back({40064, 40066, 40065});
  else if (in.nkfUp == 0) s.radios.push_back({40064, 40066, 40066});
  s.checks.push_back({40061, in.nkfDown == 1});
  s.checks.push_back({40062, in.nkfKana == 1});
  s.checks.push_back({40073, in.toolbarHeight != 0});
  s.checks.push_back({40075, in.treeView != 0});

  auto state = [](bool enabled) { return enabled ? kButtonEnabled : kButtonIndeterminate; };
  auto mode = [&](int m) {
    bool on = in.transferMode == m;
    if (!job) return on ? kButtonPressed : kButtonEnabled;
    return on ? kButtonIndeterminatePressed : kButtonIndeterminate;
  };
  s.buttons.push_back({40005, state(!job && !connected)});
  s.buttons.push_back({40006, state(connected && !job)});
  s.buttons.push_back({40009, state(local && connected && !job)});
  s.buttons.push_back({40010, state(remote && connected)});
  s.buttons.push_back({40019, state(!job)});
  s.buttons.push_back({40020, mode(1)});
  s.buttons.push_back({40021, mode(2)});
  return s;
}

bool MenuState::Grayed(int id) const {
  for (const MenuItemState& i : items) {
    if (i.id == id) return i.grayed;
  }
  return false;
}

int MenuState::RadioChecked(int first) const {
  for (const RadioCheck& r : radios) {
    if (r.first == first) return r.checked;
  }
  return 0;
}

bool MenuState::Checked(int id) const {
  for (const ItemCheck& c : checks) {
    if (c.id == id) return c.checked;
  }
  for (const RadioCheck& r : radios) {
    if (id >= r.first && id <= r.last) return r.checked == id;
  }
  return false;
}

int MenuState::Button(int id) const {
  for (const ButtonState& b : buttons) {
    if (b.id == id) return b.state;
  }
  return -1;
}

PaneCaptions ComputePaneCaptions(const std::string& currentLocalFolder, int archiveMode,
                                 const std::string& archivePath, int connected,
                                 const std::string& currentRemoteFolder,
                                 const std::string& unconnectedText) {
  PaneCaptions c;
  c.local = archiveMode ? JoinLocalPath(currentLocalFolder, archivePath) : currentLocalFolder;
  c.remote = connected ? currentRemoteFolder : unconnectedText;
  c.local = CutCaption(c.local);
  c.remote = CutCaption(c.remote);
  return c;
}
