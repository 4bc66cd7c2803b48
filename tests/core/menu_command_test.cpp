// The menu, check and toolbar state table, the pane captions, and which command may run
// in which state.
#include <gtest/gtest.h>

#include "app/command_table.h"
#include "app/menu_state_table.h"

namespace {

TEST(MenuState, NotConnectedLocalNoJob) {
  MenuStateInput in;
  MenuState s = ComputeMenuState(in);
  EXPECT_FALSE(s.Grayed(40005));
  for (int id : {40006, 40009, 40010, 40088, 40053, 40074, 40083, 40084, 40085, 40086}) {
    EXPECT_TRUE(s.Grayed(id)) << id;
  }
  for (int id : {40008, 40011, 40012, 40013, 40014, 40015, 40018, 40020, 40021, 40078, 40023, 40050}) {
    EXPECT_FALSE(s.Grayed(id)) << id;
  }
  EXPECT_EQ(s.Button(40005), kButtonEnabled);
  EXPECT_EQ(s.Button(40006), kButtonIndeterminate);
  EXPECT_EQ(s.Button(40009), kButtonIndeterminate);
  EXPECT_EQ(s.Button(40010), kButtonIndeterminate);
  EXPECT_EQ(s.Button(40019), kButtonEnabled);
  EXPECT_EQ(s.Button(40021), kButtonPressed);
  EXPECT_EQ(s.Button(40020), kButtonEnabled);
  PaneCaptions c = ComputePaneCaptions("C:\\work", 0, "", 0, "/pub", "[UNCONNECTED]");
  EXPECT_EQ(c.remote, "[UNCONNECTED]");
  EXPECT_EQ(c.local, "C:\\work");
}

TEST(MenuState, ConnectedRemoteNoJob) {
  MenuStateInput in;
  in.connected = 1;
  in.activePane = 1;
  MenuState s = ComputeMenuState(in);
  EXPECT_FALSE(s.Grayed(40010));
  EXPECT_TRUE(s.Grayed(40009));
  EXPECT_FALSE(s.Grayed(40088));
  EXPECT_TRUE(s.Grayed(40005));
  EXPECT_FALSE(s.Grayed(40006));
  EXPECT_FALSE(s.Grayed(40053));
  EXPECT_EQ(s.Button(40010), kButtonEnabled);
  EXPECT_EQ(s.Button(40009), kButtonIndeterminate);
  EXPECT_EQ(s.Button(40005), kButtonIndeterminate);
  EXPECT_EQ(s.Button(40006), kButtonEnabled);
}

TEST(MenuState, ConnectedRemoteJobRunning) {
  MenuStateInput in;
  in.connected = 1;
  in.activePane = 1;
  in.jobRunning = 1;
  in.transferMode = 2;
  MenuState s = ComputeMenuState(in);
  EXPECT_FALSE(s.Grayed(40074));
  for (int id : {40015, 40018, 40078, 40020, 40021, 40010, 40009, 40088, 40013, 40005}) {
    EXPECT_TRUE(s.Grayed(id)) << id;
  }
  EXPECT_FALSE(s.Grayed(40006));  // the menu follows the connection alone
  EXPECT_EQ(s.Button(40006), kButtonIndeterminate);
  EXPECT_EQ(s.Button(40010), kButtonEnabled);
  EXPECT_EQ(s.Button(40019), kButtonIndeterminate);
  EXPECT_EQ(s.Button(40021), kButtonIndeterminatePressed);
  EXPECT_EQ(s.Button(40020), kButtonIndeterminate);
}

TEST(MenuState, ArchiveShownInLocalPane) {
  MenuStateInput in;
  in.archiveMode = 1;
  MenuState s = ComputeMenuState(in);
  EXPECT_FALSE(s.Grayed(40083));
  EXPECT_FALSE(s.Grayed(40084));
  EXPECT_FALSE(s.Grayed(40085));
  EXPECT_TRUE(s.Grayed(40086));
  EXPECT_TRUE(s.Grayed(40012));
  in.activePane = 1;
  in.connected = 1;
  EXPECT_FALSE(ComputeMenuState(in).Grayed(40012));
  PaneCaptions c = ComputePaneCaptions("C:\\work", 1, "data.lzh", 1, "/pub", "[UNCONNECTED]");
  EXPECT_EQ(c.local, "C:\\work\\data.lzh");
  EXPECT_EQ(c.remote, "/pub");
}

TEST(MenuState, ChecksFollowTheActivePane) {
  MenuStateInput in;
  in.sortTypeLocal = 40024;
  in.sortTypeRemote = 40026;
  in.localListType = 40001;
  in.remoteListType = 40003;
  in.sortSub = 1;
  in.nkfUp = 2;
  in.nkfDown = 1;
  in.toolbarHeight = 0;
  in.treeView = 0;
  MenuState s = ComputeMenuState(in);
  EXPECT_EQ(s.RadioChecked(40023), 40024);
  EXPECT_EQ(s.RadioChecked(40001), 40001);
  EXPECT_EQ(s.RadioChecked(40076), 40077);
  EXPECT_EQ(s.RadioChecked(40064), 40065);
  EXPECT_TRUE(s.Checked(40061));
  EXPECT_FALSE(s.Checked(40062));
  EXPECT_FALSE(s.Checked(40073));
  EXPECT_FALSE(s.Checked(40075));
  in.activePane = 1;
  s = ComputeMenuState(in);
  EXPECT_EQ(s.RadioChecked(40023), 40026);
  EXPECT_EQ(s.RadioChecked(40001), 40003);
  EXPECT_EQ(s.RadioChecked(40076), 40076);
  in.nkfUp = 7;  // leaves its group as it was
  EXPECT_EQ(ComputeMenuState(in).RadioChecked(40064), 0);
}

TEST(PaneCaptions, CutAtACharacterBoundary) {
  std::string local(262, 'a');
  local += "\x82\xa0";  // a two-byte character across the 263-byte limit
  PaneCaptions c = ComputePaneCaptions(local, 0, "", 1, std::string(300, '/'), "");
  EXPECT_EQ(c.local, std::string(262, 'a'));
  EXPECT_EQ(c.remote.size(), 263u);
}

TEST(CommandGate, StatesDecideWhatRuns) {
  CommandState idle;
  CommandState job;
  job.jobRunning = 1;
  job.connected = 1;
  CommandState remote;
  remote.activePane = 1;

  // F8 while not connected does nothing; connected it runs.
  EXPECT_EQ(GateCommand(40009, idle), CommandRefused);
  CommandState connected = idle;
  connected.connected = 1;
  EXPECT_EQ(GateCommand(40009, connected), CommandRuns);
  // During a job only the always-rows run; Stop and Auto Detect stay effective.
  for (int id : {40005, 40006, 40009, 40010, 40013, 40015, 40018, 40020, 40061, 40062, 40064, 40065, 40066,
                 40078, 40104}) {
    EXPECT_EQ(GateCommand(id, job), CommandRefused) << id;
  }
  for (int id : {40074, 40080, 40001, 40023, 40063, 40095, 40200, 40201}) {
    EXPECT_EQ(GateCommand(id, job), CommandRuns) << id;
  }
  // Remote branches that need the connection.
  for (int id : {40011, 40013, 40018, 40019}) {
    EXPECT_EQ(GateCommand(id, remote), CommandRefused) << id;
    EXPECT_EQ(GateCommand(id, idle), CommandRuns) << id;
  }
  // Pane-bound rows.
  EXPECT_EQ(GateCommand(40096, idle), CommandRefused);
  EXPECT_EQ(GateCommand(40096, remote), CommandRuns);
  EXPECT_EQ(GateCommand(40101, remote), CommandRefused);
  EXPECT_EQ(GateCommand(40101, idle), CommandRuns);
  // Archive rows.
  CommandState archive = idle;
  archive.archiveMode = 1;
  EXPECT_EQ(GateCommand(40083, idle), CommandRefused);
  EXPECT_EQ(GateCommand(40084, archive), CommandRuns);
  EXPECT_EQ(GateCommand(40012, archive), CommandRefused);
  archive.activePane = 1;
  EXPECT_EQ(GateCommand(40012, archive), CommandRuns);
  // Never-enabled and unknown ids go to the default procedure.
  for (int id : {40086, 40092, 40098, 40099, 40103, 40016, 40071, 12345}) {
    EXPECT_EQ(GateCommand(id, idle), CommandUnhandled) << id;
  }
  // Favorites: 20000 up to, not including, 20100, and only without a job.
  EXPECT_EQ(GateCommand(20000, idle), CommandFavorite);
  EXPECT_EQ(GateCommand(20099, idle), CommandFavorite);
  EXPECT_EQ(GateCommand(20100, idle), CommandUnhandled);
  EXPECT_EQ(GateCommand(20005, job), CommandUnhandled);
  EXPECT_FALSE(UpdatesMenusAfter(CommandFavorite));
  EXPECT_TRUE(UpdatesMenusAfter(CommandRefused));
}

}  // namespace
