// The Japanese edition under code page 932: Shift-JIS names whose second bytes look like
// separators, in local and remote folders.
#include "support/program_fixture_win.h"
#include "support/shift_jis_samples.h"

namespace {

// Names whose second byte 0x5C or 0x7C follows a character whose own second byte is in the
// lead range ("ichiranhyou", "yoteihyou.txt", "tenpo.mid"): a local folder of that name is
// entered, listed and renamed in; a remote one on vsftpd (which hands the names over byte for
// byte) is listed and entered.
TEST_F(ProgramTest, FolderNamesEndingInSeparatorLookingBytes) {
  using namespace sjis_samples;
  ASSERT_EQ(GetACP(), 932u);
  const std::string folder = local.path() + kIchiranhyou;
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  WriteWholeFile(folder + "\\" + kPlanTxt, "plan");
  WriteWholeFile(folder + "\\" + kTempoMid, "tempo");
  WriteWholeFile(folder + "\\old.txt", "inside");
  // A sibling whose name starts with the folder's: the folder's path without its separator
  // followed by "old.txt" names this file.
  WriteWholeFile(local.path() + kIchiranhyou + "old.txt", "beside");

  const std::string remote = testenv::Get("VAKO_VSFTPD_ROOT") + "/" + kIchiranhyou;
  std::string make = "set -e; mkdir " + ShellWord(remote);
  for (const std::string& name : {kListXls, kPlanTxt, kTempoMid}) make += "; printf x > " + ShellWord(remote + "/" + name);
  make += "; chown -R " + testenv::Get("VAKO_FTP_USER") + " " + ShellWord(remote);
  ASSERT_EQ(RunHostCommand(make), 0);

  Start({PortSetting("VAKO_VSFTPD_PORT")});
  ASSERT_TRUE(WaitForRow(panes.localList, kIchiranhyou));
  DoubleClickRow(panes.localList, kIchiranhyou);
  ASSERT_TRUE(WaitForCaption(panes.localLabel, folder));
  ASSERT_TRUE(WaitForRow(panes.localList, kPlanTxt));
  EXPECT_EQ(Sorted(vako->Names(panes.localList)), (std::vector<std::string>{"..", "old.txt", kTempoMid, kPlanTxt}));

  // Renamed inside the folder, under a name of the same kind; the sibling stays as it was.
  ASSERT_TRUE(RenameRow(panes.localList, "old.txt", kListXls));
  EXPECT_EQ(Boxes(), "");
  EXPECT_EQ(ReadWholeFile(folder + "\\" + kListXls), "inside");
  EXPECT_FALSE(FileExists(folder + "\\old.txt"));
  EXPECT_EQ(ReadWholeFile(local.path() + kIchiranhyou + "old.txt"), "beside");
  EXPECT_FALSE(FileExists(local.path() + kIchiranhyou + kListXls));

  Connect();
  const std::string base = testenv::Get("VAKO_VSFTPD_ROOT");
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base));
  ASSERT_TRUE(WaitForRow(panes.remoteList, kIchiranhyou));
  DoubleClickRow(panes.remoteList, kIchiranhyou);
  ASSERT_TRUE(WaitForCaption(panes.remoteLabel, base + "/" + kIchiranhyou));
  ASSERT_TRUE(WaitForRow(panes.remoteList, kTempoMid));
  EXPECT_EQ(Sorted(vako->Names(panes.remoteList)), (std::vector<std::string>{"..", kTempoMid, kListXls, kPlanTxt}));

  // Renamed on the server inside that folder, to a name of the same kind.
  const std::string renamed = std::string(kIchiranhyou) + ".mid";
  ASSERT_TRUE(RenameRow(panes.remoteList, kTempoMid, renamed));
  EXPECT_EQ(Boxes(), "");
  EXPECT_EQ(RunHostCommand("test -f " + ShellWord(remote + "/" + renamed) + " && test ! -e " +
                           ShellWord(remote + "/" + kTempoMid)),
            0);
}

}  // namespace
