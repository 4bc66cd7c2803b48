// Passive data connections: listing, both directions and Stop against real servers (one
// vsftpd that refuses PORT altogether, on an address of its own), and against the scripted
// server the replies a client must not believe: another host named in PASV, numbers that
// make no address, a port where nobody listens.
#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

#include "engine_fixture_win.h"
#include "ftp/listing_limit.h"
#include "ftp/listing_parser.h"

namespace {

[[maybe_unused]] const int kShortTimeLimit = [] {
  _putenv("VAKO_NET_TIMEOUT=5");
  return 5;
}();

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct PassiveServer {
  const char* name;
  const char* address;
  const char* portVariable;
  const char* rootVariable;
};

const PassiveServer kServers[] = {
    {"vsftpd_passive_only", "127.0.0.2", "VAKO_VSFTPD_PASV_PORT", "VAKO_VSFTPD_PASV_ROOT"},
    {"pureftpd", "127.0.0.1", "VAKO_PUREFTPD_PORT", "VAKO_PUREFTPD_ROOT"},
    {"pyftpdlib", "127.0.0.1", "VAKO_PYFTPD_PORT", "VAKO_PYFTPD_ROOT"},
};

void PrintTo(const PassiveServer& server, std::ostream* out) { *out << server.name; }

class PassiveRealServerTest : public EngineTest, public ::testing::WithParamInterface<PassiveServer> {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    root = testenv::Get(GetParam().rootVariable);
    ASSERT_FALSE(root.empty()) << GetParam().name << " is not running";
    CurrentHost.HostName = "passive";
    CurrentHost.HostAddr = GetParam().address;
    CurrentHost.Port = testenv::Port(GetParam().portVariable);
    CurrentHost.UserID = testenv::Get("VAKO_FTP_USER");
    CurrentHost.UserPass = testenv::Get("VAKO_FTP_PASS");
    CurrentHost.Pasv = 1;
    ASSERT_EQ(ConnectAndLogin("./", ""), 1);
  }
  void TearDown() override {
    CurrentHost.Pasv = 0;
    EngineTest::TearDown();
  }
  std::string OnServer(const std::string& name) const { return testenv::WinePath(root + "/" + name); }
  std::string root;
};

TEST_P(PassiveRealServerTest, ListsAndMovesFilesBothWaysWithoutPort) {
  WriteWholeFile(OnServer("listed.txt"), "12345");
  ASSERT_EQ(FetchListing(), 1);
  ListingClock clock;
  bool listed = false;
  for (const ListedEntry& e : ParseListing(ListingBuffer, clock)) listed |= e.entry.name == "listed.txt";
  EXPECT_TRUE(listed) << ListingBuffer;

  unsigned seed = 3;
  for (size_t size : {size_t(0), size_t(1), size_t(3 * 1024 * 1024 + 7)}) {
    SCOPED_TRACE(size);
    Options.ReceiveBuf = Options.SendBuf = 65536;
    const std::string data = BinaryContent(size, seed++);
    const std::string name = "p" + std::to_string(size) + ".dat";
    WriteWholeFile(Local(name), data);
    ASSERT_EQ(StoreFile(Local(name), name, 2), 1);
    EXPECT_TRUE(ReadWholeFile(OnServer(name)) == data) << "stored copy differs";
    ASSERT_EQ(RetrieveFile(name, Local(name + ".back"), 2, size), 1);
    EXPECT_TRUE(ReadWholeFile(Local(name + ".back")) == data) << "retrieved copy differs";
  }
  const std::string log = Log();
  EXPECT_EQ(log.find("PORT "), std::string::npos) << log;
  EXPECT_GE(Count(log, "EPSV\r\n229"), 7u) << log;
  EXPECT_EQ(log.find("PASV"), std::string::npos) << log;
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_P(PassiveRealServerTest, StopAbortsAndTheConnectionGoesOn) {
  const size_t size = 3 * 1024 * 1024;
  const std::string data = BinaryContent(size, 9);
  WriteWholeFile(OnServer("stopped.bin"), data);
  DisplayLog::OnStatus() = [&](const std::string&) {
    if (!StopRequested && DisplayLog::Positions().back() >= 10) StopRequested = 1;
  };
  ASSERT_EQ(RetrieveFile("stopped.bin", Local("stopped.bin"), 2, size), 1);
  EXPECT_EQ(StopRequested, 0);
  DisplayLog::OnStatus() = nullptr;
  EXPECT_NE(Log().find("ABOR\r\n"), std::string::npos);
  ASSERT_EQ(RetrieveFile("stopped.bin", Local("again.bin"), 2, size), 1);
  EXPECT_TRUE(ReadWholeFile(Local("again.bin")) == data);
}

INSTANTIATE_TEST_SUITE_P(Servers, PassiveRealServerTest, ::testing::ValuesIn(kServers),
                         [](const ::testing::TestParamInfo<PassiveServer>& info) { return info.param.name; });

class PassiveScriptedTest : public EngineTest {
 protected:
  int LoginTo(const char* scenario) {
    CurrentHost.Pasv = 1;
    int port = testenv::ScriptedPort(scenario);
    EXPECT_GT(port, 0) << scenario;
    return Login(port, "secret");
  }
  void TearDown() override {
    CurrentHost.Pasv = 0;
    EngineTest::TearDown();
  }
};

// EPSV refused: PASV from then on for this connection. PASV names 127.0.0.9, which is not
// the server: the data connection goes to the server's own address, and the log says so.
TEST_F(PassiveScriptedTest, AnotherHostInPasvIsNotBelieved) {
  ASSERT_EQ(LoginTo("pasvforeign"), 1);
  ASSERT_EQ(RetrieveFile("p.bin", Local("p.bin"), 2, 3000), 1);
  std::string expected(3000, '\0');
  for (size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<char>(i % 251);
  EXPECT_TRUE(ReadWholeFile(Local("p.bin")) == expected);
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_EQ(ListingBuffer, "-rw-r--r-- 1 u g 3000 Jan 01 2020 p.bin\r\n");
  const std::string log = Log();
  EXPECT_NE(log.find("EPSV\r\n500"), std::string::npos) << log;
  EXPECT_EQ(Count(log, "EPSV"), 1u) << log;
  EXPECT_EQ(Count(log, "PASV\r\n227"), 2u) << log;
  EXPECT_EQ(Count(log, "(PASV named 127.0.0.9; connecting to 127.0.0.1 instead)\r\n"), 2u) << log;

  // A new connection asks for EPSV again.
  Disconnect();
  ASSERT_EQ(LoginTo("pasvforeign"), 1);
  ASSERT_EQ(RetrieveFile("p.bin", Local("p2.bin"), 2, 3000), 1);
  EXPECT_EQ(Count(Log(), "EPSV"), 2u);
}

// Replies that give no address, and a port nobody listens on: the transfer fails as any
// failed transfer does, the transfer command is never sent, the local side is untouched,
// and the next command gets its own reply.
TEST_F(PassiveScriptedTest, UnusableRepliesFailTheTransfer) {
  for (const char* scenario : {"pasvgarbled", "epsvdeadport"}) {
    SCOPED_TRACE(scenario);
    DeleteFileA(LogPath.c_str());
    ASSERT_EQ(LoginTo(scenario), 1);
    EXPECT_EQ(RetrieveFile("p.bin", Local("p.bin"), 2, 3000), 0);
    EXPECT_EQ(FetchListing(), 0);
    EXPECT_EQ(Log().find("RETR"), std::string::npos) << Log();
    EXPECT_EQ(Log().find("LIST"), std::string::npos) << Log();
    EXPECT_TRUE(LocalNames().empty());
    std::string folder;
    EXPECT_EQ(GetRemoteFolder(folder, 2048), 1);
    EXPECT_EQ(folder, "/");
    Disconnect();
  }
}

// A listing past the client's limit arrives over a passive connection just as over an
// active one: cut at whole pieces, reported once, and the session goes on.
TEST_F(PassiveScriptedTest, ListingPastTheLimitIsCutAndTheSessionGoesOn) {
  ASSERT_EQ(LoginTo("hugelisting"), 1);
  ListingLimit = 1280000;
  EXPECT_EQ(FetchListing(), 0);
  ListingLimit = kListingLimit;
  EXPECT_TRUE(ListingWasCut);
  EXPECT_GT(ListingBuffer.size(), 1280000u - 65536u);
  EXPECT_NE(Log().find("EPSV\r\n229"), std::string::npos);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Out of Memory"});
  std::string folder;
  EXPECT_EQ(GetRemoteFolder(folder, 2048), 1);
  EXPECT_EQ(folder, "/");
}

}  // namespace
