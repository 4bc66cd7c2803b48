// The engine against the scripted server, for what real servers do not do: odd login
// replies, a proxy, refused or never-opened data connections, broken and stalled
// transfers, a stranger on the data port, a flood of a reply line, the abort bytes.
#include <cstdio>
#include <string>

#include "engine_fixture_win.h"

namespace {

// Time-limit cases wait for the limit; keep it short here.
[[maybe_unused]] const int kShortTimeLimit = [] {
  _putenv("VAKO_NET_TIMEOUT=3");
  return 3;
}();

class ScriptedServerTest : public EngineTest {
 protected:
  int LoginTo(const char* scenario) {
    int port = testenv::ScriptedPort(scenario);
    EXPECT_GT(port, 0) << scenario;
    return Login(port, "secret");
  }
  void ExpectInStep() {
    std::string folder = "unset";
    EXPECT_EQ(GetRemoteFolder(folder, 2048), 1);
    EXPECT_EQ(folder, "/");
    EXPECT_EQ(ChangeRemoteFolder("sub"), 1);
    EXPECT_EQ(ReplyBuffer.substr(0, 4), "250 ");
  }
  std::string Pattern(size_t count, size_t start = 0) {
    std::string p(count, '\0');
    for (size_t i = 0; i < count; ++i) p[i] = static_cast<char>((start + i) % 251);
    return p;
  }
};

TEST_F(ScriptedServerTest, PassIsSentAndJudgedEvenAfterUser230) {
  EXPECT_EQ(LoginTo("user230pass503"), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to login.Invalid Password."});
  EXPECT_NE(Log().find("PASS ********\r\n503"), std::string::npos);
  EXPECT_EQ(Connected, 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
}

TEST_F(ScriptedServerTest, ProxyLoginSendsUserAtHostToTheProxy) {
  CurrentHost.Proxy.Proxy = 1;
  CurrentHost.Proxy.ProxyServer = "127.0.0.1";
  CurrentHost.Proxy.ProxyPort = testenv::ScriptedPort("proxycheck");
  CurrentHost.Proxy.ProxyUser = "proxy-only-user";  // carried, never sent
  CurrentHost.HostName = "through the proxy";
  CurrentHost.HostAddr = "real.host.example";       // never looked up by us
  CurrentHost.Port = 1;
  CurrentHost.UserID = "anna";
  CurrentHost.UserPass = "secret";
  ASSERT_EQ(ConnectAndLogin("./", ""), 1);
  EXPECT_EQ(ControlPort, CurrentHost.Proxy.ProxyPort);
  EXPECT_NE(Log().find("USER anna@real.host.example\r\n331"), std::string::npos);
  EXPECT_EQ(Log().find("proxy-only-user"), std::string::npos);
  Disconnect();

  // Straight to the same port, the plain USER form is refused there.
  CurrentHost.Proxy.Proxy = 0;
  CurrentHost.HostAddr = "127.0.0.1";
  CurrentHost.Port = CurrentHost.Proxy.ProxyPort;
  EXPECT_EQ(ConnectAndLogin("./", ""), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to login"});
}

// Data connections that never come: RETR refused at once (550), accepted and then given
// up on in the open (425: the wait ends there, nothing to abort), or accepted and never
// connected (the time limit, then ABOR). The local file stays as it was, nothing is
// shown, and the next command gets its own reply.
TEST_F(ScriptedServerTest, DataConnectionsThatNeverCome) {
  struct Case {
    const char* scenario;
    const char* logged;
    bool aborted;
  };
  const Case cases[] = {
      {"refuseretr", "RETR old.txt\r\n550", false},
      {"refuse425", "RETR old.txt\r\n150 Opening data connection\r\n425 ", false},
      {"noconnect", "RETR old.txt\r\n150", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario);
    DeleteFileA(LogPath.c_str());
    ASSERT_EQ(LoginTo(c.scenario), 1);
    WriteWholeFile(Local("old.txt"), "old contents");
    EXPECT_EQ(RetrieveFile("old.txt", Local("old.txt"), 2, 100), 0);
    EXPECT_EQ(ReadWholeFile(Local("old.txt")), "old contents");
    EXPECT_EQ(FetchListing(), 0);
    WriteWholeFile(Local("up.txt"), "up");
    EXPECT_EQ(StoreFile(Local("up.txt"), "up.txt", 2), 0);
    EXPECT_NE(Log().find("TYPE I\r\n200 Type set\r\nPORT "), std::string::npos);
    EXPECT_NE(Log().find(c.logged), std::string::npos) << Log();
    EXPECT_EQ(Log().find("ABOR") != std::string::npos, c.aborted) << Log();
    EXPECT_TRUE(BoxTexts().empty());
    ExpectInStep();
    Disconnect();
  }
}

// Cut short: with no earlier file the partial one stays under the real name; an earlier
// file of that name is kept as it was.
TEST_F(ScriptedServerTest, TransferCutShortIsAFailure) {
  ASSERT_EQ(LoginTo("midclose"), 1);
  EXPECT_EQ(RetrieveFile("file.bin", Local("cut.bin"), 2, 10000), 0);
  EXPECT_TRUE(ReadWholeFile(Local("cut.bin")) == Pattern(5000));
  WriteWholeFile(Local("good.bin"), "the good earlier file");
  EXPECT_EQ(RetrieveFile("file.bin", Local("good.bin"), 2, 10000), 0);
  EXPECT_EQ(ReadWholeFile(Local("good.bin")), "the good earlier file");
  EXPECT_EQ(LocalNames(), (std::vector<std::string>{"cut.bin", "good.bin"}));
  EXPECT_EQ(FetchListing(), 0);
  EXPECT_EQ(ListingBuffer, "-rw-r--r-- 1 u g 10 Jan 01 2020 partial.txt\r\n");
  ExpectInStep();
}

TEST_F(ScriptedServerTest, StalledTransferHitsTheTimeLimit) {
  ASSERT_EQ(LoginTo("stall"), 1);
  WriteWholeFile(Local("stalled.bin"), "the good earlier file");
  EXPECT_EQ(RetrieveFile("file.bin", Local("stalled.bin"), 2, 10000), 0);
  EXPECT_EQ(ReadWholeFile(Local("stalled.bin")), "the good earlier file");
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"stalled.bin"});
  // Both the transfer's 426 and the ABOR's 226 are read before the next command's reply.
  EXPECT_NE(Log().find("ABOR\r\n426 Transfer aborted\r\nPWD\r\n226 ABOR successful\r\n257"), std::string::npos)
      << Log();
  ExpectInStep();
  // A listing that stalls the same way is given up on too, and aborted.
  EXPECT_EQ(FetchListing(), 0);
  EXPECT_NE(Log().find("LIST\r\n150 Opening data connection\r\nABOR\r\n426 Transfer aborted\r\nPWD\r\n"),
            std::string::npos)
      << Log();
  ExpectInStep();
}

TEST_F(ScriptedServerTest, StopSendsTheAbortSequenceAsUrgentData) {
  ASSERT_EQ(LoginTo("abortcheck"), 1);
  unsigned long long written = 0;
  DisplayLog::OnStatus() = [&](const std::string& text) {
    if (!StopRequested && DisplayLog::Positions().back() >= 3) {
      written = DoneInStatus(text);
      StopRequested = 1;
    }
  };
  ASSERT_EQ(RetrieveFile("stream.bin", Local("stream.bin"), 2, 10 * 1024 * 1024), 1);
  EXPECT_EQ(StopRequested, 0);
  std::string part = ReadWholeFile(Local("stream.bin"));
  ASSERT_GT(written, 0u);
  EXPECT_EQ(part.size(), written);
  EXPECT_TRUE(part == Pattern(part.size()));
  EXPECT_NE(Log().find("\r\n426 Transfer aborted\r\nPWD\r\n226 ABOR sequence ok\r\n257"), std::string::npos)
      << Log();
  ExpectInStep();
}

TEST_F(ScriptedServerTest, ListingIsCappedAtWholePieces) {
  ASSERT_EQ(LoginTo("hugelisting"), 1);
  EXPECT_EQ(FetchListing(), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Out of Memory"});
  // Pieces of at most "ReceiveBuf" (1,024) bytes: the one that passed the cap was dropped.
  EXPECT_LE(ListingBuffer.size(), 1280000u);
  EXPECT_GT(ListingBuffer.size(), 1280000u - 1024u);
  std::string expected;
  for (int i = 0; expected.size() < ListingBuffer.size(); ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "-rw-r--r-- 1 user group 1234 Jan 01 2020 file%07d.txt\r\n", i);
    expected += line;
  }
  EXPECT_TRUE(expected.compare(0, ListingBuffer.size(), ListingBuffer) == 0);
  ExpectInStep();
}

TEST_F(ScriptedServerTest, StrangerOnTheDataPortIsTurnedAway) {
  ASSERT_EQ(LoginTo("portthief"), 1);
  ASSERT_EQ(RetrieveFile("file.txt", Local("file.txt"), 2, 1300), 1);
  std::string genuine;
  for (int i = 0; i < 100; ++i) genuine += "GENUINE DATA\n";
  EXPECT_EQ(ReadWholeFile(Local("file.txt")), genuine);
  ExpectInStep();
}

TEST_F(ScriptedServerTest, FloodedReplyLineIsCutAndTheNextReplyIsInStep) {
  ASSERT_EQ(LoginTo("floodpwd"), 1);
  std::string folder = "before";
  EXPECT_EQ(GetRemoteFolder(folder, 2048), 0);  // the closing quote was cut off
  EXPECT_EQ(folder, "before");
  EXPECT_LE(ReplyBuffer.size(), 65535u);
  EXPECT_EQ(ChangeRemoteFolder("sub"), 1);
  EXPECT_EQ(ReplyBuffer.substr(0, 4), "250 ");
}

TEST_F(ScriptedServerTest, SilentServerFailsTheLoginWithinTheTimeLimit) {
  EXPECT_EQ(LoginTo("silentafter"), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to login"});
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
}

// Free text and an indented code inside multi-line replies: the login is judged on its
// real last line, and every later reply is the one of its own command.
TEST_F(ScriptedServerTest, MultiLineRepliesWithFreeTextKeepTheSessionInStep) {
  ASSERT_EQ(LoginTo("multilinelogin"), 1);
  EXPECT_TRUE(BoxTexts().empty());
  // FEAT asks what the server offers; a server that does not know it is asked nothing more.
  EXPECT_NE(Log().find("PASS ********\r\n230 Logged in\r\nFEAT\r\n500 Unknown command\r\nCWD ./\r\n"
                       "250 Folder changed\r\n"),
            std::string::npos)
      << Log();
  ExpectInStep();
  EXPECT_EQ(ConnectionWasLost(), 0);
}

// 421 and a close: the connection is dropped where that is seen and the session marked
// lost for the window; later commands fail at once; Disconnect ends it quietly.
TEST_F(ScriptedServerTest, ServerClosingTheSessionMarksItLost) {
  ASSERT_EQ(LoginTo("listingthenbye"), 1);
  ASSERT_EQ(FetchListing(), 1);
  EXPECT_EQ(ConnectionWasLost(), 0);
  EXPECT_EQ(ChangeRemoteFolder("sub"), 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  EXPECT_EQ(ConnectionWasLost(), 1);
  EXPECT_EQ(FetchListing(), 0);
  EXPECT_EQ(ChangeRemoteFolder("sub"), 0);
  Disconnect();
  EXPECT_EQ(Connected, 0);
  EXPECT_EQ(ConnectionWasLost(), 0);
  EXPECT_EQ(Log().find("QUIT"), std::string::npos);
  EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
