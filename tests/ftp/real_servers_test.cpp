// The engine against real servers started by tests/support/with-servers: login, single
// commands seen on the server's disk, chunk sizes, stop, and what happens when a local file
// is the problem. Listings and whole trees of every kind of file travel in the jobs' tests.
#include <string>

#include "engine_fixture_win.h"
#include "jobs/job_support_win.h"

namespace {

const Server kServers[] = {
    {"vsftpd", "VAKO_VSFTPD_PORT", "VAKO_VSFTPD_ROOT", false},
    {"pureftpd", "VAKO_PUREFTPD_PORT", "VAKO_PUREFTPD_ROOT", true},
    {"pyftpdlib", "VAKO_PYFTPD_PORT", "VAKO_PYFTPD_ROOT", true},
};

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
  bool Has(const std::string& name, DWORD attribute) const {
    const DWORD a = GetFileAttributesA(OnServer(name).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & attribute);
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
  const std::string tree = TreeTempPath;
  EXPECT_NE(Log().find("CWD no/such/folder\r\n5"), std::string::npos);
  EXPECT_NE(Log().find("CWD ./\r\n250"), std::string::npos);
  CurrentHost.List = 1;  // "NLST -alL" instead of LIST; whether it lists is the server's affair
  FetchListing();
  EXPECT_NE(Log().find("NLST -alL\r\n"), std::string::npos);
  ExpectInStep(rootPath);
  Disconnect();
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  EXPECT_FALSE(FileExists(tree));
  EXPECT_NE(Log().find("QUIT\r\n221"), std::string::npos);

  EXPECT_EQ(Login(port, "wrong-password"), 0);
  EXPECT_EQ(Connected, 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  // The message, then the host and port and the server's own words.
  const std::string box = BoxTexts().back(), where = "\r\n\r\n127.0.0.1:" + std::to_string(port) + "\r\n5";
  EXPECT_EQ(box.substr(0, box.find(where)), "Failed to login.Invalid Password.") << box;
  EXPECT_NE(box.find(where), std::string::npos) << box;
}

// A port where nothing listens: the message says where, and the system's words for why.
TEST_F(EngineTest, RefusedConnectionSaysWhereAndWhy) {
  SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(probe);  // nothing listens there now
  const int port = ntohs(address.sin_port);
  ReplyBuffer = "221 Goodbye.";  // the last reply of a session before: no word on this failure
  EXPECT_EQ(Login(port, "any"), 0);
  ASSERT_EQ(BoxTexts().size(), 1u);
  const std::string box = BoxTexts()[0], head = "Failed to connect internet\r\n\r\n127.0.0.1:" + std::to_string(port) + "\r\n";
  EXPECT_EQ(box.substr(0, head.size()), head) << box;
  EXPECT_GT(box.size(), head.size()) << box;
  EXPECT_EQ(box.find("Goodbye"), std::string::npos) << box;
}

TEST_P(RealServerEngineTest, SingleCommandsChangeTheServersDisk) {
  ASSERT_EQ(LoginOk(), 1);
  WriteWholeFile(OnServer("doomed.txt"), "bye");
  // Each succeeds once and then fails, and the disk shows it.
  EXPECT_EQ(MakeRemoteFolder("made"), 1);
  EXPECT_EQ(MakeRemoteFolder("made"), 0);
  EXPECT_EQ(RenameRemote("made", "renamed"), 1);
  EXPECT_EQ(RenameRemote("made", "whatever"), 0);  // judged on the RNTO reply
  EXPECT_TRUE(Has("renamed", FILE_ATTRIBUTE_DIRECTORY));
  ASSERT_EQ(ChangeRemoteFolder("renamed"), 1);
  std::string folder;
  ASSERT_EQ(GetRemoteFolder(folder, 2048), 1);
  EXPECT_EQ(folder, (rootPath == "/" ? "" : rootPath) + "/renamed");
  EXPECT_EQ(ChangeRemoteFolder(".."), 1);
  EXPECT_EQ(ChangeRemoteFolder("missing-folder"), 0);
  EXPECT_EQ(RemoveRemoteFolder("renamed"), 1);
  EXPECT_EQ(RemoveRemoteFolder("renamed"), 0);
  EXPECT_EQ(DeleteRemoteFile("doomed.txt"), 1);
  EXPECT_EQ(DeleteRemoteFile("doomed.txt"), 0);
  EXPECT_FALSE(FileExists(OnServer("renamed")) || FileExists(OnServer("doomed.txt")));

  // Permissions, by the store rule ("cgi;pl" 444) and by command; a file without write
  // permission shows as read-only here.
  Options.ChmodType1 = "cgi;pl";
  Options.Chmod1 = "444";
  WriteWholeFile(Local("run.cgi"), "#!/bin/sh\n");
  ASSERT_EQ(StoreFile(Local("run.cgi"), "run.cgi", 1), 1);
  EXPECT_TRUE(Has("run.cgi", FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(SetRemoteMode("run.cgi", "644"), 1);
  EXPECT_FALSE(Has("run.cgi", FILE_ATTRIBUTE_READONLY));
  ASSERT_EQ(StoreFile(Local("run.cgi"), "plain.bin", 2), 1);
  EXPECT_EQ(Log().find("SITE CHMOD", Log().find("STOR plain.bin")), std::string::npos);

  // A local file that cannot be read or written: nothing goes out, the session stays usable.
  const size_t before = Log().size();
  EXPECT_EQ(StoreFile(Local("does-not-exist.bin"), "never.bin", 2), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to read file"});
  EXPECT_FALSE(FileExists(OnServer("never.bin")));
  EXPECT_EQ(Log().size(), before);  // not even TYPE or PORT
  EXPECT_EQ(RetrieveFile("run.cgi", Local("no-such-folder\\run.cgi"), 2, 10), 0);
  EXPECT_EQ(BoxTexts().back(), "Failed to write file");
  ExpectInStep(rootPath);
}

// TYPE goes out when the mode changes, not before every file: once for a run of binary
// files, again around a text file among them, and afresh on a new connection.
TEST_P(RealServerEngineTest, TypeOnlyWhenTheModeChanges) {
  ASSERT_EQ(LoginOk(), 1);
  const int modes[] = {2, 2, 1, 2, 2};
  for (int i = 0; i < 5; ++i) WriteWholeFile(OnServer("t" + std::to_string(i)), BinaryContent(100 + i, i));
  auto receiveAll = [&] {
    for (int i = 0; i < 5; ++i) {
      const std::string name = "t" + std::to_string(i);
      ASSERT_EQ(RetrieveFile(name, Local(name), modes[i], 100 + i), 1) << name;
      EXPECT_EQ(ReadWholeFile(Local(name)), BinaryContent(100 + i, i)) << name;
    }
  };
  auto typesSent = [&] {
    std::vector<std::string> types;
    const std::string log = Log();
    for (size_t at = log.find("\nTYPE "); at != std::string::npos; at = log.find("\nTYPE ", at + 1))
      types.push_back(log.substr(at + 1, log.find("\r\n", at) - at - 1));
    return types;
  };
  receiveAll();
  const std::vector<std::string> once{"TYPE I", "TYPE A", "TYPE I"};
  EXPECT_EQ(typesSent(), once);
  EXPECT_EQ(Log().find("TYPE I\r\n200"), Log().find("TYPE I"));  // each logged with its reply

  Disconnect();
  ASSERT_EQ(LoginOk(), 1);
  receiveAll();
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(typesSent(), twice);
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
      // "<text> (<done>/<size> Byte)": this chunk is still written, the next one is not
      written = std::strtoull(text.c_str() + text.rfind(" (") + 2, nullptr, 10);
      StopRequested = 1;
    }
  };
  ASSERT_EQ(RetrieveFile("stopped.bin", Local("stopped.bin"), 2, size), 1);
  EXPECT_EQ(StopRequested, 0);
  const std::string part = ReadWholeFile(Local("stopped.bin"));
  EXPECT_EQ(part.size(), written);
  EXPECT_TRUE(data.compare(0, part.size(), part) == 0) << "the partial file is not a prefix";
  EXPECT_NE(Log().find("ABOR\r\n"), std::string::npos);
  ExpectInStep(rootPath);

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
  ExpectInStep(rootPath);
}

// A local file that opens but fails to read: the store is aborted, not ended as if the file
// were whole, which the server would confirm with 226. Reading /proc/self/mem from its
// start fails every time (nothing is mapped at address 0), and Wine reports it as a read
// error of an ordinary file.
TEST_P(RealServerEngineTest, LocalReadErrorAbortsTheStore) {
  ASSERT_EQ(LoginOk(), 1);
  EXPECT_EQ(StoreFile(testenv::WinePath("/proc/self/mem"), "unreadable.bin", 2), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to read file"});
  const std::string log = Log(), stor = "STOR unreadable.bin\r\n1";
  const size_t preliminary = log.find(stor);
  ASSERT_NE(preliminary, std::string::npos) << log;
  const size_t next = log.find("\r\n", preliminary + stor.size()) + 2;
  EXPECT_EQ(log.compare(next, 6, "ABOR\r\n"), 0) << log;
  ExpectInStep(rootPath);
}

// A text converted for the server travels as a copy in the work folder; the progress line
// names the user's own file.
TEST_P(RealServerEngineTest, ConvertedUploadShowsItsOwnPath) {
  const std::string built = testenv::WinePath(testenv::Get("VAKO_BINARY_DIR"));
  ASSERT_TRUE(CopyFileA((built + "\\bin\\nkf32.dll").c_str(), (ProgramFolder + "nkf32.dll").c_str(), FALSE));
  ASSERT_EQ(LoginOk(), 1);
  WriteWholeFile(Local("note.txt"), std::string(300, 'a') + "\r\n");
  ResourceTextBuffer = "Sending file %s ...";
  ASSERT_EQ(StoreConvertedFile(Local("note.txt"), "note.txt", 1, "-e"), 1);
  ASSERT_FALSE(DisplayLog::texts.empty());
  EXPECT_EQ(DisplayLog::texts.back(), "Sending file " + Local("note.txt") + " ... (302/302 Byte)");
}

// Stop pressed while nothing moved belongs to nothing: the next transfer runs whole. A
// job's files share one helper thread, and a job also starts clear of an earlier Stop.
// Chunk sizes out of range are kept within bounds (a chunk of 0 bytes would end at once,
// one past the 65,536-byte buffers overflow them); copies stay byte-identical.
TEST_P(RealServerEngineTest, StopPressedBetweenTransfersStopsNothingLater) {
  ASSERT_EQ(LoginOk(), 1);
  Options.ReceiveBuf = Options.SendBuf = 10000000;
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
    Options.ReceiveBuf = Options.SendBuf = i % 2 ? 0 : -5;
    const std::string content = BinaryContent(i * 97u + 1, i), name = "small" + std::to_string(i);
    WriteWholeFile(Local(name), content);
    ASSERT_EQ(StoreFile(Local(name), name, 2), 1) << name;
    EXPECT_TRUE(ReadWholeFile(OnServer(name)) == content) << "stored copy of " << name << " differs";
    ASSERT_EQ(RetrieveFile(name, Local(name + ".back"), 2, content.size()), 1) << name;
    EXPECT_TRUE(ReadWholeFile(Local(name + ".back")) == content) << "retrieved copy of " << name << " differs";
  }
  Options.ReceiveBuf = Options.SendBuf = 10000000;
  ASSERT_EQ(RetrieveFile("late-stop.bin", Local("in-job.bin"), 2, size), 1);
  EXPECT_TRUE(ReadWholeFile(Local("in-job.bin")) == data);
  EXPECT_TRUE(BoxTexts().empty());
}

// A stopped download goes on from its partial file with REST: the server's copy is then
// changed at its beginning, and the file that arrives still has the old beginning, so only
// the rest was sent. A partial file the program did not leave is never continued nor
// replaced, and ASCII mode starts afresh.
TEST_P(RealServerEngineTest, StoppedDownloadGoesOnAndUserPartialsStay) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 3 * 1024 * 1024;
  const std::string data = BinaryContent(size, 11), date = "Jan 02 03:04";
  WriteWholeFile(OnServer("resume.bin"), data);
  StopAt(10);
  ASSERT_EQ(RetrieveFile("resume.bin", Local("resume.bin"), 2, size, &date), 1);
  EXPECT_EQ(LocalNames(), (std::vector<std::string>{"resume.bin.vkpart", "resume.bin.vkpart.txt"}));
  const std::string part = ReadWholeFile(Local("resume.bin.vkpart"));
  ASSERT_GT(part.size(), 4096u);
  ASSERT_LT(part.size(), size);
  std::string changed = data;
  for (size_t i = 0; i < 4096; ++i) changed[i] = static_cast<char>(~changed[i]);
  WriteWholeFile(OnServer("resume.bin"), changed);
  DisplayLog::onStatus = nullptr;
  ASSERT_EQ(RetrieveFile("resume.bin", Local("resume.bin"), 2, size, &date), 1);
  EXPECT_NE(Log().find("REST " + std::to_string(part.size()) + "\r\n350"), std::string::npos);
  EXPECT_TRUE(ReadWholeFile(Local("resume.bin")) == data) << "more than the rest was sent";
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"resume.bin"});

  // The user's own partial of that name (no record): downloaded whole, left alone, and a
  // stop then keeps what came under the real name as before.
  DeleteFileA(Local("resume.bin").c_str());
  WriteWholeFile(Local("resume.bin.vkpart"), part);
  const size_t restsBefore = Log().find("REST ") == std::string::npos ? 0 : 1;
  StopAt(10);
  ASSERT_EQ(RetrieveFile("resume.bin", Local("resume.bin"), 2, size, &date), 1);
  EXPECT_EQ(ReadWholeFile(Local("resume.bin.vkpart")), part);
  EXPECT_EQ(LocalNames(), (std::vector<std::string>{"resume.bin", "resume.bin.vkpart"}));
  DisplayLog::onStatus = nullptr;
  ASSERT_EQ(RetrieveFile("resume.bin", Local("resume.bin"), 2, size, &date), 1);
  EXPECT_TRUE(ReadWholeFile(Local("resume.bin")) == changed);
  EXPECT_EQ(ReadWholeFile(Local("resume.bin.vkpart")), part);
  size_t rests = 0;
  for (size_t at = Log().find("REST "); at != std::string::npos; at = Log().find("REST ", at + 1)) ++rests;
  EXPECT_EQ(rests, restsBefore);

  // ASCII mode: a partial of the program's is not continued; the whole file replaces it.
  DeleteFileA(Local("resume.bin.vkpart").c_str());
  StopAt(10);
  ASSERT_EQ(RetrieveFile("resume.bin", Local("text.bin"), 2, size, &date), 1);
  ASSERT_TRUE(FileExists(Local("text.bin.vkpart.txt")));
  DisplayLog::onStatus = nullptr;
  ASSERT_EQ(RetrieveFile("resume.bin", Local("text.bin"), 1, size, &date), 1);
  EXPECT_EQ(Log().rfind("REST "), Log().find("REST "));
  EXPECT_EQ(LocalNames(), (std::vector<std::string>{"resume.bin", "text.bin"}));
  ExpectInStep(rootPath);
}

// A stopped upload goes on with REST and STOR from the server's size of the file: the
// server's part is changed at its beginning and keeps that change, so only the rest went.
TEST_P(RealServerEngineTest, StoppedUploadGoesOnWithRestAndStor) {
  ASSERT_EQ(LoginOk(), 1);
  const size_t size = 3 * 1024 * 1024;
  const std::string data = BinaryContent(size, 12);
  WriteWholeFile(Local("up.bin"), data);
  StopAt(10);
  ASSERT_EQ(StoreFile(Local("up.bin"), "up.bin", 2), 1);
  std::string part = ReadWholeFile(OnServer("up.bin"));
  ASSERT_GT(part.size(), 4096u);
  ASSERT_LT(part.size(), size);
  for (size_t i = 0; i < 4096; ++i) part[i] = static_cast<char>(~part[i]);
  WriteWholeFile(OnServer("up.bin"), part);
  DisplayLog::onStatus = nullptr;
  ASSERT_EQ(StoreFile(Local("up.bin"), "up.bin", 2), 1);
  EXPECT_NE(Log().find("REST " + std::to_string(part.size()) + "\r\n350"), std::string::npos) << Log();
  EXPECT_TRUE(ReadWholeFile(OnServer("up.bin")) == part + data.substr(part.size()));
  // Whole now: the next upload starts afresh. So does any upload in ASCII mode.
  ASSERT_EQ(StoreFile(Local("up.bin"), "up.bin", 2), 1);
  EXPECT_TRUE(ReadWholeFile(OnServer("up.bin")) == data);
  StopAt(10);
  ASSERT_EQ(StoreFile(Local("up.bin"), "text.bin", 1), 1);
  DisplayLog::onStatus = nullptr;
  ASSERT_EQ(StoreFile(Local("up.bin"), "text.bin", 1), 1);
  EXPECT_EQ(Log().rfind("REST "), Log().find("REST "));
  ExpectInStep(rootPath);
}

INSTANTIATE_TEST_SUITE_P(Servers, RealServerEngineTest, ::testing::ValuesIn(kServers),
                         [](const ::testing::TestParamInfo<Server>& info) { return std::string(info.param.name); });

}  // namespace
