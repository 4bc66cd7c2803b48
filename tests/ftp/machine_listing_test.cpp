// Machine listings (MLSD) against the servers that give them: one folder listed by MLSD and
// by LIST gives the same rows but for the times, which MLSD has to the minute in any year;
// vsftpd offers none and stays on LIST; a server that offers MLSD in FEAT but refuses it is
// listed by LIST for the rest of that connection.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "engine_fixture_win.h"
#include "ftp/listing_parser.h"
#include "support/e2e_driver_win.h"
#include "support/program_fixture_win.h"

namespace {

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// "kind|size|permissions|name" of every entry, sorted; dates by name; unsafe names.
struct Listed {
  std::vector<std::string> rows;
  std::map<std::string, std::string> dates;
  std::vector<std::string> hidden;
};

Listed ListCurrentFolder() {
  Listed out;
  EXPECT_EQ(FetchListing(), 1) << ListingBuffer;
  for (const ListedEntry& e : ParseListing(ListingBuffer, ListingClockNow(), &out.hidden)) {
    out.rows.push_back(std::string(e.entry.attributes & 0x10 ? "d|" : "f|") + RemoteSizeText(e.entry) + "|" +
                       e.permissions + "|" + e.entry.name);
    out.dates[e.entry.name] = RemoteDateText(e, 0);
  }
  std::sort(out.rows.begin(), out.rows.end());
  return out;
}

// The date the local side shows for the same file on the server's disk.
std::string LocalDateOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return "missing " + path;
  FILETIME local;
  SYSTEMTIME t;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &t);
  char text[64];
  std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
  return text;
}

class MachineListingTest : public EngineTest, public ::testing::WithParamInterface<Server> {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    root = testenv::Get(GetParam().rootVariable);
    port = testenv::Port(GetParam().portVariable);
    ASSERT_GT(port, 0) << GetParam().name << " is not running";
  }
  int port = 0;
};

// Sizes past 4 GiB, a time LIST gives only as a year, names with blanks (leading ones too)
// and semicolons, and a name the local side cannot hold.
TEST_P(MachineListingTest, SameRowsAsListWithExactTimes) {
  const std::string tree = root + "/mlsd-tree";
  ASSERT_EQ(RunHostCommand("set -e; rm -rf '" + tree + "'; mkdir -p '" + tree + "/sub'; cd '" + tree +
                           "'; printf 12345 > plain.txt; printf x > 'with space; semi.txt'; printf y > "
                           "' lead.txt'; printf z > trail.; truncate -s 5368709121 huge.bin; chmod 640 plain.txt;"
                           " touch -d '2001-02-03 04:05:06 UTC' old.txt; chown -R " +
                           testenv::Get("VAKO_FTP_USER") + " '" + tree + "'"),
            0);
  ASSERT_EQ(Login(port, testenv::Get("VAKO_FTP_PASS")), 1);
  ASSERT_TRUE(MachineListingChosen) << Log();
  ASSERT_EQ(ChangeRemoteFolder("mlsd-tree"), 1);
  const Listed machine = ListCurrentFolder();
  EXPECT_NE(Log().find("MLSD\r\n"), std::string::npos) << Log();
  EXPECT_EQ(Count(Log(), "LIST"), 0u) << Log();

  MachineListingChosen = false;  // the same connection, listed the old way
  const Listed list = ListCurrentFolder();
  EXPECT_NE(Log().find("LIST\r\n"), std::string::npos) << Log();
  EXPECT_EQ(machine.rows, list.rows);
  EXPECT_EQ(machine.rows.size(), 6u);
  EXPECT_NE(std::find(machine.rows.begin(), machine.rows.end(), "f|5368709121|-rw-r--r--|huge.bin"),
            machine.rows.end());
  EXPECT_EQ(machine.hidden, std::vector<std::string>{"trail."});
  EXPECT_EQ(list.hidden, std::vector<std::string>{"trail."});
  // LIST tells an old file's year only; MLSD its time, in local time (the test runs in Tokyo).
  EXPECT_EQ(machine.dates.at("old.txt"), "2001/02/03 13:05");
  EXPECT_EQ(machine.dates.at("old.txt"), LocalDateOf(OnServer("mlsd-tree/old.txt")));
  EXPECT_EQ(list.dates.at("old.txt"), "2001/02/03 00:00");
  EXPECT_EQ(machine.dates.at("plain.txt"), LocalDateOf(OnServer("mlsd-tree/plain.txt")));
  // The host's time lag moves LIST times only.
  ListedEntry parsed;
  ASSERT_TRUE(ParseListingLine("type=file;size=1;modify=20010203040506; x", ListingClock{2024, 3}, parsed));
  EXPECT_EQ(RemoteDateText(parsed, 60), "2001/02/03 04:05");
}

INSTANTIATE_TEST_SUITE_P(Servers, MachineListingTest,
                         ::testing::Values(Server{"pureftpd", "VAKO_PUREFTPD_PORT", "VAKO_PUREFTPD_ROOT", true},
                                           Server{"pyftpdlib", "VAKO_PYFTPD_PORT", "VAKO_PYFTPD_ROOT", true}),
                         [](const ::testing::TestParamInfo<Server>& info) { return std::string(info.param.name); });

// vsftpd lists no MLST in FEAT.
TEST_F(EngineTest, VsftpdStaysOnList) {
  ASSERT_EQ(Login(testenv::Port("VAKO_VSFTPD_PORT"), testenv::Get("VAKO_FTP_PASS")), 1);
  EXPECT_FALSE(MachineListingChosen);
  EXPECT_EQ(FetchListing(), 1);
  EXPECT_NE(Log().find("LIST\r\n"), std::string::npos);
  EXPECT_EQ(Log().find("MLSD"), std::string::npos);
}

// MLST in FEAT, then 500 to MLSD: listed by LIST at once and from then on; a new connection
// tries MLSD again. Both data connection modes.
TEST_F(EngineTest, RefusedMachineListingFallsBackToList) {
  for (int pasv = 0; pasv <= 1; ++pasv) {
    SCOPED_TRACE(pasv);
    for (int connection = 1; connection <= 2; ++connection) {
      CurrentHost.Pasv = pasv;
      ASSERT_EQ(Login(testenv::ScriptedPort("mlsdrefused"), "secret"), 1);
      for (int listing = 1; listing <= 2; ++listing) {
        ASSERT_EQ(FetchListing(), 1) << Log();
        const std::vector<ListedEntry> entries = ParseListing(ListingBuffer, ListingClockNow());
        ASSERT_EQ(entries.size(), 2u) << ListingBuffer;
        EXPECT_EQ(entries[0].entry.name, "sub");
        EXPECT_EQ(entries[1].entry.name, "a.txt");
      }
      Disconnect();
      const std::string log = Log();
      EXPECT_EQ(Count(log, "MLSD\r\n500 MLSD not understood\r\n"), static_cast<size_t>(pasv * 2 + connection)) << log;
      EXPECT_EQ(Count(log, "LIST\r\n"), static_cast<size_t>(pasv * 4 + connection * 2)) << log;
    }
  }
  EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
