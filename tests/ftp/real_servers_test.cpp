// The engine against real servers started by tests/support/with-servers: login, single
// commands seen on the server's disk, listings, transfers in both modes and all sizes,
// progress, stop, and what happens when a local file is the problem.
#include <ostream>
#include <string>

#include "engine_fixture_win.h"
#include "ftp/reply_line.h"

namespace {

struct Server {
  const char* name;
  const char* portVariable;
  const char* rootVariable;
  bool chrooted;           // PWD shows "/" rather than the real folder
  bool asciiAddsCarriageReturns;  // converts LF to CR LF when sending in ASCII mode
  bool nlstTakesOptions;   // answers "NLST -alL" with a long listing rather than 550
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
    ASSERT_FALSE(root.empty());
    rootPath = GetParam().chrooted ? "/" : root;
  }

  int LoginOk() { return Login(port, testenv::Get("VAKO_FTP_PASS")); }
  // A file or folder in the server's root, as this Windows program sees it.
  std::string OnServer(const std::string& name) const { return testenv::WinePath(root + "/" + name); }
  bool IsFolder(const std::string& path) const {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  // Commands after a failure or a stop must get their own replies: a refused one must
  // fail and a good one succeed, in the folder where we were.
  void ExpectInStep() {
    std::string folder;
    EXPECT_EQ(GetRemoteFolder(folder, 2048), 1);
    EXPECT_EQ(folder, rootPath);
    EXPECT_EQ(DeleteRemoteFile("no-such-file.bin"), 0);
    EXPECT_EQ(ChangeRemoteFolder("."), 1);
  }

  int port = 0;
  std::string root, rootPath;
};

TEST_P(RealServerEngineTest, LoginWithGoodAndBadPassword) {
  ASSERT_EQ(LoginOk(), 1);
  EXPECT_EQ(Connected, 1);
  EXPECT_EQ(CurrentRemoteFolder, rootPath);
  EXPECT_TRUE(BoxTexts().empty());
  ASSERT_FALSE(DisplayLog::Texts().empty());
  EXPECT_EQ(DisplayLog::Texts().front(), "Connecting to testhost...");
  EXPECT_EQ(DisplayLog::Texts().back(), " ");
  // The tree cache working file: a unique temporary name in the work folder (the system
  // keeps the first three characters of the prefix "TREE"), created empty.
  EXPECT_EQ(TreeTempPath.compare(0, WorkFolder.size() + 3, WorkFolder + "TRE"), 0) << TreeTempPath;
  EXPECT_EQ(TreeTempPath.substr(TreeTempPath.size() - 4), ".tmp");
  EXPECT_EQ(ReadWholeFile(TreeTempPath), "");
  EXPECT_TRUE(FileExists(TreeTempPath));
  std::string log = Log();
  EXPECT_NE(log.find("USER " + testenv::Get("VAKO_FTP_USER") + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("PASS ********\r\n230"), std::string::npos);
  EXPECT_NE(log.find("CWD ./\r\n250"), std::string::npos);
  std::string tree = TreeTempPath;
  ConnectedFromFavorite = 1;
  Disconnect();
  EXPECT_EQ(Connected, 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  EXPECT_FALSE(FileExists(tree));
  EXPECT_TRUE(FileExists(ProgramFolder + "testhost.tre"));  // kept for the favorite host
  EXPECT_EQ(ConnectedFromFavorite, 0);
  EXPECT_NE(Log().find("QUIT\r\n221"), std::string::npos);

  DisplayLog::Clear();
  EXPECT_EQ(Login(port, "wrong-password"), 0);
  EXPECT_EQ(Connected, 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to login.Invalid Password."});
}

TEST_P(RealServerEngineTest, MissingInitialFolderLeavesUsInDotSlash) {
  ASSERT_EQ(Login(port, testenv::Get("VAKO_FTP_PASS"), "no/such/folder"), 1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Could not move to remote default folder.Check up your setting"});
  EXPECT_EQ(CurrentRemoteFolder, "./");
  EXPECT_NE(Log().find("CWD ./\r\n"), std::string::npos);
  ExpectInStep();
}

TEST_P(RealServerEngineTest, SingleCommandsChangeTheServersDisk) {
  ASSERT_EQ(LoginOk(), 1);
  ASSERT_EQ(MakeRemoteFolder("made"), 1);
  EXPECT_TRUE(IsFolder(OnServer("made")));
  EXPECT_EQ(MakeRemoteFolder("made"), 0);

  ASSERT_EQ(ChangeRemoteFolder("made"), 1);
  std::string folder;
  ASSERT_EQ(GetRemoteFolder(folder, 2048), 1);
  EXPECT_EQ(folder, (rootPath == "/" ? "" : rootPath) + "/made");
  EXPECT_EQ(ChangeRemoteFolder(".."), 1);
  EXPECT_EQ(ChangeRemoteFolder("missing-folder"), 0);

  EXPECT_EQ(RenameRemote("made", "renamed"), 1);
  EXPECT_FALSE(IsFolder(OnServer("made")));
  EXPECT_TRUE(IsFolder(OnServer("renamed")));
  EXPECT_EQ(RenameRemote("not-there", "whatever"), 0);  // judged on the RNTO reply
  EXPECT_EQ(RemoveRemoteFolder("renamed"), 1);
  EXPECT_FALSE(IsFolder(OnServer("renamed")));
  EXPECT_EQ(RemoveRemoteFolder("renamed"), 0);

  WriteWholeFile(OnServer("doomed.txt"), "bye");
  EXPECT_EQ(DeleteRemoteFile("doomed.txt"), 1);
  EXPECT_FALSE(FileExists(OnServer("doomed.txt")));
  EXPECT_EQ(DeleteRemoteFile("doomed.txt"), 0);

  // A file without write permission shows as read-only to a Windows program. The file is
  // stored through the server so that the server's user owns it.
  WriteWholeFile(Local("mode.txt"), "mode");
  ASSERT_EQ(StoreFile(Local("mode.txt"), "mode.txt", 2), 1);
  ASSERT_EQ(SetRemoteMode("mode.txt", "444"), 1);
  EXPECT_TRUE(GetFileAttributesA(OnServer("mode.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(SetRemoteMode("mode.txt", "644"), 1);
  EXPECT_FALSE(GetFileAttributesA(OnServer("mode.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_NE(Log().find("SITE CHMOD 444 mode.txt\r\n2"), std::string::npos);
}

TEST_P(RealServerEngineTest, NamesWithLineBreaksAreNeverSent) {
  ASSERT_EQ(LoginOk(), 1);
  ASSERT_EQ(MakeRemoteFolder("keep"), 1);
  WriteWholeFile(OnServer("victim.txt"), "still here");
  size_t before = Log().size();
  EXPECT_EQ(DeleteRemoteFile("x\r\nRMD keep"), 0);
  EXPECT_EQ(ChangeRemoteFolder("keep\nDELE victim.txt"), 0);
  EXPECT_EQ(RenameRemote("victim.txt", "new\r\nRMD keep"), 0);
  EXPECT_EQ(SetRemoteMode("victim.txt", "777\r\nDELE victim.txt"), 0);
  EXPECT_EQ(MakeRemoteFolder(std::string("a\0b", 3)), 0);
  EXPECT_EQ(RetrieveFile("victim.txt\r\nDELE victim.txt", Local("v.txt"), 2, 10), 0);
  WriteWholeFile(Local("up.txt"), "up");
  EXPECT_EQ(StoreFile(Local("up.txt"), "up.txt\r\nRMD keep", 2), 0);
  EXPECT_EQ(Log().size(), before);  // nothing at all went out
  EXPECT_TRUE(IsFolder(OnServer("keep")));
  EXPECT_EQ(ReadWholeFile(OnServer("victim.txt")), "still here");
  EXPECT_FALSE(FileExists(Local("v.txt")));
  ExpectInStep();
}

TEST_P(RealServerEngineTest, Listing) {
  ASSERT_EQ(LoginOk(), 1);
  WriteWholeFile(OnServer("listed.txt"), "12345");
  ASSERT_EQ(MakeRemoteFolder("listed-folder"), 1);
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_NE(ListingBuffer.find("listed.txt\r\n"), std::string::npos) << ListingBuffer;
  EXPECT_NE(ListingBuffer.find("listed-folder\r\n"), std::string::npos) << ListingBuffer;
  EXPECT_NE(Log().find("TYPE A\r\n200"), std::string::npos);
  EXPECT_NE(Log().find("LIST\r\n1"), std::string::npos);
  // The listing's final reply stays out of the log.
  std::string log = Log();
  EXPECT_EQ(log.substr(log.rfind("LIST\r\n")).find("226"), std::string::npos) << log;

  CurrentHost.List = 1;
  ASSERT_EQ(FetchListing(), GetParam().nlstTakesOptions ? 1 : 0);
  EXPECT_NE(Log().find("NLST -alL\r\n"), std::string::npos);
  if (GetParam().nlstTakesOptions) {
    EXPECT_NE(ListingBuffer.find(" listed.txt\r\n"), std::string::npos) << ListingBuffer;
  }

  CurrentHost.List = 0;
  ASSERT_EQ(ChangeRemoteFolder("listed-folder"), 1);
  ListingBuffer = "stale";
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_EQ(ListingBuffer, "");
  ASSERT_EQ(ChangeRemoteFolder(".."), 1);
  ExpectInStep();
}

TEST_P(RealServerEngineTest, BinaryTransfersAreByteIdenticalAtEverySize) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t sizes[] = {0, 1, 99, 1024 * 1024, 3 * 1024 * 1024 + 7};
  unsigned seed = 1;
  for (size_t size : sizes) {
    SCOPED_TRACE(size);
    // Small chunks for the small files, the largest for the big ones.
    Options.ReceiveBuf = Options.SendBuf = size > 1024 * 1024 ? 65536 : 1024;
    std::string data = BinaryContent(size, seed++);
    std::string name = "bin" + std::to_string(size) + ".dat";
    WriteWholeFile(Local(name), data);
    ASSERT_EQ(StoreFile(Local(name), name, 2), 1);
    EXPECT_TRUE(ReadWholeFile(OnServer(name)) == data) << "stored copy differs";
    ASSERT_EQ(RetrieveFile(name, Local(name + ".back"), 2, size), 1);
    EXPECT_TRUE(ReadWholeFile(Local(name + ".back")) == data) << "retrieved copy differs";
  }
  EXPECT_NE(Log().find("TYPE I\r\n200"), std::string::npos);
  EXPECT_TRUE(BoxTexts().empty());
  ExpectInStep();
}

TEST_P(RealServerEngineTest, AsciiTransfersMoveTheBytesAsTheServerSendsThem) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t lineCounts[] = {0, 1, 40000};
  for (size_t lines : lineCounts) {
    SCOPED_TRACE(lines);
    std::string text = TextContent(lines);
    std::string name = "text" + std::to_string(lines) + ".txt";
    WriteWholeFile(Local(name), text);
    ASSERT_EQ(StoreFile(Local(name), name, 1), 1);
    EXPECT_TRUE(ReadWholeFile(OnServer(name)) == text) << "stored copy differs";
    ASSERT_EQ(RetrieveFile(name, Local(name + ".back"), 1, text.size()), 1);
    std::string expected = text;
    if (GetParam().asciiAddsCarriageReturns) {
      expected.clear();
      for (char c : text) {
        if (c == '\n') expected += '\r';
        expected += c;
      }
    }
    // The client itself converts nothing.
    EXPECT_TRUE(ReadWholeFile(Local(name + ".back")) == expected) << "retrieved copy differs";
  }
  EXPECT_NE(Log().find("TYPE A\r\n200"), std::string::npos);
}

TEST_P(RealServerEngineTest, ChunkSizesAreKeptWithinBounds) {
  ASSERT_EQ(LoginOk(), 1);
  std::string data = BinaryContent(99, 7);
  WriteWholeFile(Local("odd.bin"), data);
  Options.SendBuf = 0;         // a chunk of 0 bytes would end at once
  Options.ReceiveBuf = -5;
  ASSERT_EQ(StoreFile(Local("odd.bin"), "odd.bin", 2), 1);
  ASSERT_EQ(RetrieveFile("odd.bin", Local("odd.back"), 2, 99), 1);
  EXPECT_TRUE(ReadWholeFile(Local("odd.back")) == data);
  std::string big = BinaryContent(300000, 8);
  WriteWholeFile(Local("big.bin"), big);
  Options.SendBuf = Options.ReceiveBuf = 10000000;  // beyond the 65,536-byte buffers
  ASSERT_EQ(StoreFile(Local("big.bin"), "big.bin", 2), 1);
  ASSERT_EQ(RetrieveFile("big.bin", Local("big.back"), 2, big.size()), 1);
  EXPECT_TRUE(ReadWholeFile(Local("big.back")) == big);
}

TEST_P(RealServerEngineTest, ProgressMovesOncePerPercentWithByteCounts) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 1024 * 1024;
  WriteWholeFile(OnServer("progress.bin"), BinaryContent(size, 3));
  DisplayLog::Clear();
  ASSERT_EQ(RetrieveFile("progress.bin", Local("progress.bin"), 2, size), 1);
  const std::vector<int>& positions = DisplayLog::Positions();
  ASSERT_FALSE(positions.empty());
  for (size_t i = 1; i < positions.size(); ++i) EXPECT_GT(positions[i], positions[i - 1]);
  EXPECT_EQ(positions.back(), 100);
  // Text and bar change together; the bytes after the last whole percent move neither.
  ASSERT_EQ(DisplayLog::Texts().size(), positions.size());
  const std::string& last = DisplayLog::Texts().back();
  EXPECT_EQ(last.substr(0, 32), "Revieveing file progress.bin ...");
  EXPECT_EQ(last.substr(last.size() - 14), "/1048576 Byte)");
  EXPECT_GE(DoneInStatus(last), size / 100 * 100);
  EXPECT_LE(DoneInStatus(last), size);

  // Under 100 bytes there is no step, so nothing moves.
  DisplayLog::Clear();
  WriteWholeFile(OnServer("tiny.bin"), "tiny");
  ASSERT_EQ(RetrieveFile("tiny.bin", Local("tiny.bin"), 2, 4), 1);
  EXPECT_TRUE(DisplayLog::Positions().empty());
  EXPECT_TRUE(DisplayLog::Texts().empty());

  // A store names the local path and shows every chunk.
  DisplayLog::Clear();
  ResourceTextBuffer = "Sending file %s ...";
  ASSERT_EQ(StoreFile(Local("progress.bin"), "up.bin", 2), 1);
  EXPECT_EQ(DisplayLog::Texts().size(), size / 1024);
  EXPECT_EQ(DisplayLog::Texts().back(), "Sending file " + Local("progress.bin") + " ... (1048576/1048576 Byte)");
  EXPECT_EQ(DisplayLog::Positions().back(), 100);
}

TEST_P(RealServerEngineTest, RefusedRetrieveLeavesTheLocalFileAlone) {
  ASSERT_EQ(LoginOk(), 1);
  WriteWholeFile(Local("precious.txt"), "precious contents");
  EXPECT_EQ(RetrieveFile("no-such-file.txt", Local("precious.txt"), 2, 100), 0);
  EXPECT_EQ(ReadWholeFile(Local("precious.txt")), "precious contents");
  ExpectInStep();
}

TEST_P(RealServerEngineTest, StopDuringRetrieveKeepsTheWrittenPart) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 3 * 1024 * 1024;
  std::string data = BinaryContent(size, 5);
  WriteWholeFile(OnServer("stopped.bin"), data);
  unsigned long long written = 0;
  DisplayLog::OnStatus() = [&](const std::string& text) {
    if (!StopRequested && DisplayLog::Positions().back() >= 10) {
      written = DoneInStatus(text);  // this chunk is still written, the next one is not
      StopRequested = 1;
    }
  };
  ASSERT_EQ(RetrieveFile("stopped.bin", Local("stopped.bin"), 2, size), 1);
  EXPECT_EQ(StopRequested, 0);
  std::string part = ReadWholeFile(Local("stopped.bin"));
  ASSERT_GT(written, 0u);
  EXPECT_EQ(part.size(), written);
  EXPECT_TRUE(data.compare(0, part.size(), part) == 0) << "the partial file is not a prefix";
  EXPECT_NE(Log().find("ABOR\r\n"), std::string::npos);
  ExpectInStep();
}

// A download that ends early over an earlier file leaves that file as it was; one that
// completes replaces it. Nothing of the transfer is left beside it either way.
TEST_P(RealServerEngineTest, EarlierLocalFileIsReplacedOnlyByAWholeFile) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 3 * 1024 * 1024;
  std::string data = BinaryContent(size, 7);
  WriteWholeFile(OnServer("update.bin"), data);
  WriteWholeFile(Local("update.bin"), "earlier contents");
  DisplayLog::OnStatus() = [&](const std::string&) {
    if (DisplayLog::Positions().back() >= 10) StopRequested = 1;
  };
  ASSERT_EQ(RetrieveFile("update.bin", Local("update.bin"), 2, size), 1);
  EXPECT_EQ(ReadWholeFile(Local("update.bin")), "earlier contents");
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"update.bin"});
  ExpectInStep();

  DisplayLog::OnStatus() = nullptr;
  ASSERT_EQ(RetrieveFile("update.bin", Local("update.bin"), 2, size), 1);
  EXPECT_TRUE(ReadWholeFile(Local("update.bin")) == data);
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"update.bin"});
}

// Stop pressed while nothing moved belongs to nothing: the next transfer runs whole.
TEST_P(RealServerEngineTest, StopPressedBetweenTransfersStopsNeitherTheNextRetrieveNorStore) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 2 * 1024 * 1024;
  std::string data = BinaryContent(size, 8);
  WriteWholeFile(OnServer("late-stop.bin"), data);
  StopRequested = 1;
  ASSERT_EQ(RetrieveFile("late-stop.bin", Local("late-stop.bin"), 2, size), 1);
  EXPECT_TRUE(ReadWholeFile(Local("late-stop.bin")) == data);
  StopRequested = 1;
  ASSERT_EQ(StoreFile(Local("late-stop.bin"), "late-stop-up.bin", 2), 1);
  EXPECT_TRUE(ReadWholeFile(OnServer("late-stop-up.bin")) == data);
  EXPECT_EQ(Log().find("ABOR"), std::string::npos);
}

// A job's files share one helper thread, and a job also starts clear of an earlier Stop.
TEST_P(RealServerEngineTest, JobOfManySmallFilesMovesThemAllOnOneHelper) {
  ASSERT_EQ(LoginOk(), 1);
  StopRequested = 1;
  TransferJobScope job;
  EXPECT_EQ(StopRequested, 0);
  for (int i = 0; i < 20; ++i) {
    std::string name = "small" + std::to_string(i) + ".bin";
    std::string content = BinaryContent(static_cast<size_t>(i) * 97 + 1, static_cast<unsigned>(i));
    WriteWholeFile(Local(name), content);
    ASSERT_EQ(StoreFile(Local(name), name, 2), 1) << name;
    ASSERT_EQ(RetrieveFile(name, Local("back-" + name), 2, content.size()), 1) << name;
    EXPECT_TRUE(ReadWholeFile(Local("back-" + name)) == content) << name;
  }
  const size_t size = 3 * 1024 * 1024 + 17;  // many blocks: the helper thread writes
  std::string big = BinaryContent(size, 99);
  WriteWholeFile(OnServer("big-in-job.bin"), big);
  ASSERT_EQ(RetrieveFile("big-in-job.bin", Local("big-in-job.bin"), 2, size), 1);
  EXPECT_TRUE(ReadWholeFile(Local("big-in-job.bin")) == big);
}

TEST_P(RealServerEngineTest, StopDuringStoreLeavesTheConnectionUsable) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 3 * 1024 * 1024;
  std::string data = BinaryContent(size, 6);
  WriteWholeFile(Local("upstop.bin"), data);
  DisplayLog::OnStatus() = [&](const std::string&) {
    if (DisplayLog::Positions().back() >= 10) StopRequested = 1;
  };
  ASSERT_EQ(StoreFile(Local("upstop.bin"), "upstop.bin", 2), 1);
  EXPECT_EQ(StopRequested, 0);
  std::string part = ReadWholeFile(OnServer("upstop.bin"));
  EXPECT_LT(part.size(), size);
  EXPECT_TRUE(data.compare(0, part.size(), part) == 0);
  ExpectInStep();
}

TEST_P(RealServerEngineTest, LocalFileProblemsKeepTheConnectionInStep) {
  ASSERT_EQ(LoginOk(), 1);
  size_t before = Log().size();
  EXPECT_EQ(StoreFile(Local("does-not-exist.bin"), "never.bin", 2), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to read file"});
  EXPECT_FALSE(FileExists(OnServer("never.bin")));
  EXPECT_EQ(Log().size(), before);  // not even TYPE or PORT

  WriteWholeFile(OnServer("fine.bin"), BinaryContent(200000, 9));
  EXPECT_EQ(RetrieveFile("fine.bin", Local("no-such-folder\\fine.bin"), 2, 200000), 0);
  EXPECT_EQ(BoxTexts().back(), "Failed to write file");
  ExpectInStep();
}

TEST_P(RealServerEngineTest, StoreAppliesThePermissionRule) {
  ASSERT_EQ(LoginOk(), 1);
  Options.ChmodType1 = "cgi;pl";
  Options.Chmod1 = "444";
  Options.ChmodType2 = "dat";
  Options.Chmod2 = "644";
  WriteWholeFile(Local("run.cgi"), "#!/bin/sh\n");
  ASSERT_EQ(StoreFile(Local("run.cgi"), "run.cgi", 1), 1);
  EXPECT_TRUE(GetFileAttributesA(OnServer("run.cgi").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_NE(Log().find("SITE CHMOD 444 run.cgi\r\n"), std::string::npos);
  WriteWholeFile(Local("x.dat"), "data");
  ASSERT_EQ(StoreFile(Local("x.dat"), "x.dat", 2), 1);
  EXPECT_NE(Log().find("SITE CHMOD 644 x.dat\r\n"), std::string::npos);
  WriteWholeFile(Local("plain.bin"), "plain");
  size_t before = Log().size();
  ASSERT_EQ(StoreFile(Local("plain.bin"), "plain.bin", 2), 1);
  EXPECT_EQ(Log().find("SITE", before), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Servers, RealServerEngineTest, ::testing::ValuesIn(kServers),
                         [](const ::testing::TestParamInfo<Server>& info) { return std::string(info.param.name); });

}  // namespace
