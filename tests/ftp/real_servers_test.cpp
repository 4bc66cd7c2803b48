// The engine against real servers started by tests/support/with-servers: login, single
// commands seen on the server's disk, listings, transfers of every size in both modes,
// progress, stop, and what happens when a local file is the problem.
#include <ostream>
#include <string>

#include "engine_fixture_win.h"

namespace {

struct Server {
  const char* name;
  const char* portVariable;
  const char* rootVariable;
  bool chrooted;                  // PWD shows "/" rather than the real folder
  bool asciiAddsCarriageReturns;  // converts LF to CR LF when sending in ASCII mode
  bool nlstTakesOptions;          // answers "NLST -alL" with a long listing rather than 550
};

const Server kServers[] = {
    {"vsftpd", "VAKO_VSFTPD_PORT", "VAKO_VSFTPD_ROOT", false, false, true},
    {"pureftpd", "VAKO_PUREFTPD_PORT", "VAKO_PUREFTPD_ROOT", true, true, false},
    {"pyftpdlib", "VAKO_PYFTPD_PORT", "VAKO_PYFTPD_ROOT", true, true, false},
};

void PrintTo(const Server& server, std::ostream* out) { *out << server.name; }

class RealServerEngineTest : public EngineTest, public ::testing::WithParamInterface<Server> {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    port = testenv::Port(GetParam().portVariable);
    root = testenv::Get(GetParam().rootVariable);
    ASSERT_GT(port, 0) << GetParam().name << " is not running";
    rootPath = GetParam().chrooted ? "/" : root;
  }

  int LoginOk() { return Login(port, testenv::Get("VAKO_FTP_PASS")); }
  bool IsFolder(const std::string& name) const {
    DWORD a = GetFileAttributesA(OnServer(name).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool ReadOnly(const std::string& name) const {
    return GetFileAttributesA(OnServer(name).c_str()) & FILE_ATTRIBUTE_READONLY;
  }
  // Commands after a failure or a stop get their own replies, in the folder where we were.
  void ExpectInStep() {
    std::string folder;
    EXPECT_EQ(GetRemoteFolder(folder, 2048), 1);
    EXPECT_EQ(folder, rootPath);
    EXPECT_EQ(DeleteRemoteFile("no-such-file.bin"), 0);
    EXPECT_EQ(ChangeRemoteFolder("."), 1);
  }
  // Stores and retrieves the bytes and checks both copies.
  void RoundTrip(const std::string& name, const std::string& data, int mode = 2) {
    WriteWholeFile(Local(name), data);
    ASSERT_EQ(StoreFile(Local(name), name, mode), 1) << name;
    EXPECT_TRUE(ReadWholeFile(OnServer(name)) == data) << "stored copy of " << name << " differs";
    ASSERT_EQ(RetrieveFile(name, Local(name + ".back"), mode, data.size()), 1) << name;
  }

  int port = 0;
  std::string rootPath;
};

TEST_P(RealServerEngineTest, LoginDisconnectAndBadPassword) {
  ASSERT_EQ(Login(port, testenv::Get("VAKO_FTP_PASS"), "no/such/folder"), 1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Could not move to remote default folder.Check up your setting"});
  EXPECT_EQ(CurrentRemoteFolder, "./");
  EXPECT_EQ(DisplayLog::texts.front(), "Connecting to testhost...");
  EXPECT_EQ(ReadWholeFile(TreeTempPath), "");
  const std::string log = Log(), tree = TreeTempPath;
  EXPECT_NE(log.find("USER " + testenv::Get("VAKO_FTP_USER") + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("PASS ********\r\n230"), std::string::npos);
  EXPECT_NE(log.find("CWD no/such/folder\r\n5"), std::string::npos);
  EXPECT_NE(log.find("CWD ./\r\n250"), std::string::npos);
  ExpectInStep();
  ConnectedFromFavorite = 1;
  Disconnect();
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  EXPECT_FALSE(FileExists(tree));
  EXPECT_TRUE(FileExists(ProgramFolder + "testhost.tre"));  // kept for the favorite host
  EXPECT_NE(Log().find("QUIT\r\n221"), std::string::npos);

  EXPECT_EQ(Login(port, "wrong-password"), 0);
  EXPECT_EQ(Connected, 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  EXPECT_EQ(BoxTexts().back(), "Failed to login.Invalid Password.");
}

TEST_P(RealServerEngineTest, SingleCommandsChangeTheServersDisk) {
  ASSERT_EQ(LoginOk(), 1);
  ASSERT_EQ(MakeRemoteFolder("made"), 1);
  EXPECT_TRUE(IsFolder("made"));
  EXPECT_EQ(MakeRemoteFolder("made"), 0);
  ASSERT_EQ(ChangeRemoteFolder("made"), 1);
  std::string folder;
  ASSERT_EQ(GetRemoteFolder(folder, 2048), 1);
  EXPECT_EQ(folder, (rootPath == "/" ? "" : rootPath) + "/made");
  EXPECT_EQ(ChangeRemoteFolder(".."), 1);
  EXPECT_EQ(ChangeRemoteFolder("missing-folder"), 0);
  EXPECT_EQ(RenameRemote("made", "renamed"), 1);
  EXPECT_TRUE(IsFolder("renamed"));
  EXPECT_EQ(RenameRemote("not-there", "whatever"), 0);  // judged on the RNTO reply
  EXPECT_EQ(RemoveRemoteFolder("renamed"), 1);
  EXPECT_FALSE(IsFolder("renamed"));
  EXPECT_EQ(RemoveRemoteFolder("renamed"), 0);
  WriteWholeFile(OnServer("doomed.txt"), "bye");
  EXPECT_EQ(DeleteRemoteFile("doomed.txt"), 1);
  EXPECT_FALSE(FileExists(OnServer("doomed.txt")));
  EXPECT_EQ(DeleteRemoteFile("doomed.txt"), 0);

  // Permissions, by command and by the store rule ("cgi;pl" 444); a file without write
  // permission shows as read-only here.
  Options.ChmodType1 = "cgi;pl";
  Options.Chmod1 = "444";
  WriteWholeFile(Local("run.cgi"), "#!/bin/sh\n");
  ASSERT_EQ(StoreFile(Local("run.cgi"), "run.cgi", 1), 1);
  EXPECT_TRUE(ReadOnly("run.cgi"));
  ASSERT_EQ(SetRemoteMode("run.cgi", "644"), 1);
  EXPECT_FALSE(ReadOnly("run.cgi"));
  WriteWholeFile(Local("plain.bin"), "plain");
  ASSERT_EQ(StoreFile(Local("plain.bin"), "plain.bin", 2), 1);
  const std::string log = Log();
  EXPECT_NE(log.find("SITE CHMOD 444 run.cgi\r\n2"), std::string::npos);
  EXPECT_NE(log.find("SITE CHMOD 644 run.cgi\r\n2"), std::string::npos);
  EXPECT_EQ(log.find("SITE CHMOD", log.find("STOR plain.bin")), std::string::npos);

  // Names holding line breaks never go out, whatever command would carry them.
  const size_t before = Log().size();
  EXPECT_EQ(DeleteRemoteFile("x\r\nRMD keep"), 0);
  EXPECT_EQ(ChangeRemoteFolder("keep\nDELE run.cgi"), 0);
  EXPECT_EQ(RenameRemote("run.cgi", "new\r\nRMD keep"), 0);
  EXPECT_EQ(SetRemoteMode("run.cgi", "777\r\nDELE run.cgi"), 0);
  EXPECT_EQ(RetrieveFile("run.cgi\r\nDELE run.cgi", Local("v.txt"), 2, 10), 0);
  EXPECT_EQ(StoreFile(Local("plain.bin"), "up.txt\r\nRMD keep", 2), 0);
  EXPECT_EQ(Log().size(), before);
  EXPECT_FALSE(FileExists(Local("v.txt")));
  ExpectInStep();
}

TEST_P(RealServerEngineTest, Listing) {
  ASSERT_EQ(LoginOk(), 1);
  WriteWholeFile(OnServer("listed.txt"), "12345");
  ASSERT_EQ(MakeRemoteFolder("listed-folder"), 1);
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_NE(ListingBuffer.find(" listed.txt\r\n"), std::string::npos) << ListingBuffer;
  EXPECT_NE(ListingBuffer.find(" listed-folder\r\n"), std::string::npos) << ListingBuffer;
  std::string log = Log();
  EXPECT_NE(log.find("TYPE A\r\n200"), std::string::npos);
  EXPECT_EQ(log.substr(log.rfind("LIST\r\n")).find("226"), std::string::npos) << "final reply logged";

  CurrentHost.List = 1;
  ASSERT_EQ(FetchListing(), GetParam().nlstTakesOptions ? 1 : 0);
  EXPECT_NE(Log().find("NLST -alL\r\n"), std::string::npos);
  if (GetParam().nlstTakesOptions) {
    EXPECT_NE(ListingBuffer.find(" listed.txt\r\n"), std::string::npos);
  }

  CurrentHost.List = 0;
  ASSERT_EQ(ChangeRemoteFolder("listed-folder"), 1);
  ListingBuffer = "stale";
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_EQ(ListingBuffer, "");
  ASSERT_EQ(ChangeRemoteFolder(".."), 1);
  ExpectInStep();
}

// Binary copies are byte-identical at every size and chunk size (chunks out of range are
// kept within bounds); ASCII ones move the bytes as the server sends them.
TEST_P(RealServerEngineTest, TransfersInBothModes) {
  ASSERT_EQ(LoginOk(), 1);
  const struct {
    size_t size;
    int chunk;
  } cases[] = {{0, 1024}, {1, 1024}, {99, 0}, {99, -5}, {1024 * 1024, 1024}, {3 * 1024 * 1024 + 7, 10000000}};
  unsigned seed = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    Options.ReceiveBuf = Options.SendBuf = c.chunk;
    const std::string data = BinaryContent(c.size, seed), name = "bin" + std::to_string(seed++);
    RoundTrip(name, data);
    EXPECT_TRUE(ReadWholeFile(Local(name + ".back")) == data) << "retrieved copy differs";
  }
  Options.ReceiveBuf = Options.SendBuf = 4096;
  for (size_t lines : {0, 1, 40000}) {
    std::string text, expected;
    for (size_t i = 0; i < lines; ++i) text += "line " + std::to_string(i) + " of some text\n";
    for (char c : text) expected += c == '\n' && GetParam().asciiAddsCarriageReturns ? "\r\n" : std::string(1, c);
    const std::string name = "text" + std::to_string(lines) + ".txt";
    RoundTrip(name, text, 1);
    EXPECT_TRUE(ReadWholeFile(Local(name + ".back")) == expected) << lines;  // the client converts nothing
  }
  EXPECT_NE(Log().find("TYPE I\r\n200"), std::string::npos);
  EXPECT_TRUE(BoxTexts().empty());
  ExpectInStep();
}

TEST_P(RealServerEngineTest, ProgressMovesOncePerPercentWithByteCounts) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 1024 * 1024;
  WriteWholeFile(OnServer("progress.bin"), BinaryContent(size, 3));
  DisplayLog::Clear();
  ASSERT_EQ(RetrieveFile("progress.bin", Local("progress.bin"), 2, size), 1);
  const std::vector<int>& positions = DisplayLog::positions;
  ASSERT_EQ(DisplayLog::texts.size(), positions.size());
  for (size_t i = 1; i < positions.size(); ++i) EXPECT_GT(positions[i], positions[i - 1]);
  EXPECT_EQ(positions.back(), 100);
  const std::string& last = DisplayLog::texts.back();
  EXPECT_EQ(last.substr(0, 32), "Revieveing file progress.bin ...");
  EXPECT_EQ(last.substr(last.size() - 14), "/1048576 Byte)");
  EXPECT_GE(DoneInStatus(last), size / 100 * 100);

  // A store names the local path and shows every chunk.
  DisplayLog::Clear();
  ResourceTextBuffer = "Sending file %s ...";
  ASSERT_EQ(StoreFile(Local("progress.bin"), "up.bin", 2), 1);
  EXPECT_EQ(DisplayLog::texts.size(), size / 1024);
  EXPECT_EQ(DisplayLog::texts.back(), "Sending file " + Local("progress.bin") + " ... (1048576/1048576 Byte)");
}

// Stop keeps the written part under the real name when there was no earlier file; an
// earlier file is replaced only by a whole one, and a refused retrieve never touches it.
TEST_P(RealServerEngineTest, StopAndFailuresKeepWhatWasThere) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 3 * 1024 * 1024;
  const std::string data = BinaryContent(size, 5);
  WriteWholeFile(OnServer("stopped.bin"), data);
  unsigned long long written = 0;
  DisplayLog::onStatus = [&](const std::string& text) {
    if (!StopRequested && DisplayLog::positions.back() >= 10) {
      written = DoneInStatus(text);  // this chunk is still written, the next one is not
      StopRequested = 1;
    }
  };
  ASSERT_EQ(RetrieveFile("stopped.bin", Local("stopped.bin"), 2, size), 1);
  EXPECT_EQ(StopRequested, 0);
  const std::string part = ReadWholeFile(Local("stopped.bin"));
  EXPECT_EQ(part.size(), written);
  EXPECT_TRUE(data.compare(0, part.size(), part) == 0) << "the partial file is not a prefix";
  EXPECT_NE(Log().find("ABOR\r\n"), std::string::npos);
  ExpectInStep();

  WriteWholeFile(Local("stopped.bin"), "earlier contents");
  EXPECT_EQ(RetrieveFile("no-such-file.bin", Local("stopped.bin"), 2, 100), 0);
  StopAt(10);
  ASSERT_EQ(RetrieveFile("stopped.bin", Local("stopped.bin"), 2, size), 1);
  EXPECT_EQ(ReadWholeFile(Local("stopped.bin")), "earlier contents");
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"stopped.bin"});
  DisplayLog::onStatus = nullptr;
  ASSERT_EQ(RetrieveFile("stopped.bin", Local("stopped.bin"), 2, size), 1);
  EXPECT_TRUE(ReadWholeFile(Local("stopped.bin")) == data);
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"stopped.bin"});

  // A stopped store leaves a prefix on the server and the session usable.
  StopAt(10);
  ASSERT_EQ(StoreFile(Local("stopped.bin"), "upstop.bin", 2), 1);
  const std::string up = ReadWholeFile(OnServer("upstop.bin"));
  EXPECT_LT(up.size(), size);
  EXPECT_TRUE(data.compare(0, up.size(), up) == 0);
  ExpectInStep();
}

// Stop pressed while nothing moved belongs to nothing: the next transfer runs whole. A
// job's files share one helper thread, and a job also starts clear of an earlier Stop.
TEST_P(RealServerEngineTest, StopPressedBetweenTransfersStopsNothingLater) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 3 * 1024 * 1024 + 17;
  const std::string data = BinaryContent(size, 8);
  WriteWholeFile(OnServer("late-stop.bin"), data);
  StopRequested = 1;
  ASSERT_EQ(RetrieveFile("late-stop.bin", Local("late-stop.bin"), 2, size), 1);
  EXPECT_TRUE(ReadWholeFile(Local("late-stop.bin")) == data);
  StopRequested = 1;
  ASSERT_EQ(StoreFile(Local("late-stop.bin"), "late-stop-up.bin", 2), 1);
  EXPECT_TRUE(ReadWholeFile(OnServer("late-stop-up.bin")) == data);
  EXPECT_EQ(Log().find("ABOR"), std::string::npos);

  StopRequested = 1;
  TransferJobScope job;
  EXPECT_EQ(StopRequested, 0);
  for (int i = 0; i < 20; ++i) {
    const std::string content = BinaryContent(i * 97u + 1, i), name = "small" + std::to_string(i);
    RoundTrip(name, content);
    EXPECT_TRUE(ReadWholeFile(Local(name + ".back")) == content) << name;
  }
  ASSERT_EQ(RetrieveFile("late-stop.bin", Local("in-job.bin"), 2, size), 1);
  EXPECT_TRUE(ReadWholeFile(Local("in-job.bin")) == data);
}

TEST_P(RealServerEngineTest, LocalFileProblemsKeepTheConnectionInStep) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t before = Log().size();
  EXPECT_EQ(StoreFile(Local("does-not-exist.bin"), "never.bin", 2), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to read file"});
  EXPECT_FALSE(FileExists(OnServer("never.bin")));
  EXPECT_EQ(Log().size(), before);  // not even TYPE or PORT
  WriteWholeFile(OnServer("fine.bin"), BinaryContent(200000, 9));
  EXPECT_EQ(RetrieveFile("fine.bin", Local("no-such-folder\\fine.bin"), 2, 200000), 0);
  EXPECT_EQ(BoxTexts().back(), "Failed to write file");
  ExpectInStep();
}

INSTANTIATE_TEST_SUITE_P(Servers, RealServerEngineTest, ::testing::ValuesIn(kServers),
                         [](const ::testing::TestParamInfo<Server>& info) { return std::string(info.param.name); });

}  // namespace
