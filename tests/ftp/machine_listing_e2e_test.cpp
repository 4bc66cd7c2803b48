// The real program lists a pure-ftpd folder by MLSD: a size past 4 GiB in full, an old
// file's time to the minute in local time (the program runs in Tokyo, where LIST would give
// it no time at all), a name with a leading blank as sent, a name Windows refuses counted in
// the status bar, and MLSD in the protocol log.
#include <map>

#include "support/program_fixture_win.h"

namespace {

using MachineListingE2eTest = ProgramTest;

TEST_F(MachineListingE2eTest, ProgramShowsTheMachineListing) {
  const std::string tree = testenv::Get("VAKO_PUREFTPD_ROOT") + "/mlsd-e2e";
  ASSERT_EQ(RunHostCommand("set -e; rm -rf '" + tree + "'; mkdir -p '" + tree + "/sub'; cd '" + tree +
                           "'; truncate -s 5368709121 huge.bin; printf y > ' lead.txt'; printf z > trail.;"
                           " touch -d '2001-02-03 04:05:06 UTC' old.txt; chown -R " +
                           testenv::Get("VAKO_FTP_USER") + " '" + tree + "'"),
            0);
  ASSERT_NO_FATAL_FAILURE(Start({"InitialRemoteFolder=mlsd-e2e", PortSetting("VAKO_PUREFTPD_PORT")}));
  Connect();
  ASSERT_TRUE(WaitForRow(panes.remoteList, "huge.bin")) << Boxes();
  std::map<std::string, ListRowView> rows;
  for (const ListRowView& row : vako->Rows(panes.remoteList)) rows[row.name()] = row;
  EXPECT_EQ(rows.size(), 5u);  // "..", sub, huge.bin, " lead.txt", old.txt
  EXPECT_EQ(rows["huge.bin"].column[1], "5368709121");
  EXPECT_EQ(rows["old.txt"].column[3], "2001/02/03 13:05");
  EXPECT_EQ(rows["old.txt"].column[4], "-rw-r--r--");
  EXPECT_EQ(rows.count(" lead.txt"), 1u);
  EXPECT_EQ(rows["sub"].column[1], "   ");
  EXPECT_EQ(WindowText(vako->Child(2020)), ResourceText(IDS_HIDDEN_ENTRIES, "1"));
  const std::string log = ReadWholeFile(NewestWorkFolder("ftplog.txt") + "ftplog.txt");
  EXPECT_NE(log.find("MLSD\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("LIST\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("(not shown) trail."), std::string::npos) << log;
}

}  // namespace
