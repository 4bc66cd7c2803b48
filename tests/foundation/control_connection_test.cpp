// The control connection against real servers and against the scripted one.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/app_state_win.h"
#include "ftp/control_connection_win.h"
#include "ftp/reply_line.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

// The silent-server case waits for the time limit; keep it short here.
[[maybe_unused]] const int kShortTimeout = [] {
  _putenv("VAKO_NET_TIMEOUT=3");
  return 3;
}();

class ControlConnectionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(StartSockets(), 1); }
  void SetUp() override { LogPath = dir.path() + "ftplog.txt"; }
  void TearDown() override { CloseControlConnection(); }

  int Open(int port, const char* host = "127.0.0.1") {
    ControlHost = host;
    ControlPort = port;
    return OpenControlConnection();
  }
  int Send(const std::string& command) {
    CommandBuffer = command;
    return SendCommand();
  }
  std::string Log() { return ReadWholeFile(LogPath); }

  TempFolder dir;
  MessageBoxRecorder boxes;
};


}  // namespace

class RealServerTest : public ControlConnectionTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RealServerTest, LoginExchangeIsLoggedWithThePasswordMasked) {
  int port = testenv::Port(GetParam());
  ASSERT_GT(port, 0) << GetParam();
  std::string user = testenv::Get("VAKO_FTP_USER"), pass = testenv::Get("VAKO_FTP_PASS");
  ASSERT_EQ(Open(port), 1);
  EXPECT_EQ(ReplyBuffer.substr(0, 4), "220 ");
  ASSERT_EQ(Send("USER " + user + "\r\n"), 1);
  EXPECT_EQ(ReplyBuffer.substr(0, 3), "331");
  ASSERT_EQ(Send("PASS " + pass + "\r\n"), 1);
  EXPECT_EQ(ReplyBuffer.substr(0, 3), "230");
  EXPECT_EQ(ReplyIsPositive(ReplyBuffer), 1);
  ASSERT_EQ(Send("PWD\r\n"), 1);
  EXPECT_EQ(ReplyBuffer.substr(0, 5), "257 \"");
  ASSERT_EQ(Send("CWD /no/such/folder\r\n"), 1);
  EXPECT_EQ(ReplyIsPositive(ReplyBuffer), 0);
  ASSERT_EQ(Send("QUIT\r\n"), 1);
  EXPECT_EQ(ReplyBuffer.substr(0, 3), "221");

  std::string log = Log();
  EXPECT_EQ(log.find(pass), std::string::npos);
  EXPECT_NE(log.find("USER " + user + "\r\n331"), std::string::npos);
  EXPECT_NE(log.find("PASS ********\r\n230"), std::string::npos);
  EXPECT_NE(log.find("PWD\r\n257"), std::string::npos);
  EXPECT_EQ(log.substr(0, 4), "220 ");
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_P(RealServerTest, LowerCasePassIsLoggedAsSent) {
  ASSERT_EQ(Open(testenv::Port(GetParam())), 1);
  Send("USER " + testenv::Get("VAKO_FTP_USER") + "\r\n");
  Send("pass wrong-password\r\n");
  EXPECT_EQ(ReplyIsPositive(ReplyBuffer), 0);
  EXPECT_NE(Log().find("pass wrong-password\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Servers, RealServerTest, ::testing::Values("VAKO_VSFTPD_PORT", "VAKO_PYFTPD_PORT"));

TEST_F(ControlConnectionTest, HostNameIsResolved) {
  ASSERT_EQ(Open(testenv::Port("VAKO_PYFTPD_PORT"), "localhost"), 1);
  EXPECT_EQ(ReplyBuffer.substr(0, 3), "220");
}

TEST_F(ControlConnectionTest, UnknownHostOrClosedPortFails) {
  EXPECT_EQ(Open(21, "no-such-host.invalid"), 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  // A port nobody listens on: bind one and close it again to find such a port.
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = inet_addr("127.0.0.1");
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  int len = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  closesocket(s);
  EXPECT_EQ(Open(ntohs(a.sin_port)), 0);
}

TEST_F(ControlConnectionTest, ThreeLineGreetingKeepsOnlyTheLastLine) {
  ASSERT_EQ(Open(testenv::ScriptedPort("greeting3")), 1);
  EXPECT_EQ(ReplyBuffer, "220 Third line\r\n");
  EXPECT_EQ(Log(), "220 Third line\r\n");
  ASSERT_EQ(Send("NOOP\r\n"), 1);
  EXPECT_EQ(ReplyBuffer, "200 OK NOOP\r\n");
}

TEST_F(ControlConnectionTest, ReplyTricklingInByteByByteIsPutTogether) {
  ASSERT_EQ(Open(testenv::ScriptedPort("onebyte")), 1);
  EXPECT_EQ(ReplyBuffer, "220 slow greeting\r\n");
  ASSERT_EQ(Send("SYST\r\n"), 1);
  EXPECT_EQ(ReplyBuffer, "250 SYST done\r\n");  // the longer first line leaves nothing behind
  ASSERT_EQ(Send("NOOP\r\n"), 1);
  EXPECT_EQ(ReplyBuffer, "250 NOOP done\r\n");
}

TEST_F(ControlConnectionTest, LinesLongerThanOnePeekAreWhole) {
  ASSERT_EQ(Open(testenv::ScriptedPort("longline")), 1);
  EXPECT_EQ(ReplyBuffer, "220 " + std::string(2000, 'x') + "\r\n");
  ASSERT_EQ(Send("NOOP\r\n"), 1);
  EXPECT_EQ(ReplyBuffer, "200 " + std::string(2000, 'y') + "\r\n");
}

TEST_F(ControlConnectionTest, FloodedLineIsCutAndTheNextReplyStaysInStep) {
  ASSERT_EQ(Open(testenv::ScriptedPort("floodline")), 1);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(Send("NOOP\r\n"), 1);
    EXPECT_EQ(ReplyBuffer.size(), 65535u);
    EXPECT_EQ(ReplyBuffer.substr(0, 5), "200 z");
  }
}

TEST_F(ControlConnectionTest, ServerThatClosesAtOnceLeavesAnEmptyFailedReply) {
  ASSERT_EQ(Open(testenv::ScriptedPort("closeatonce")), 1);
  EXPECT_EQ(ReplyBuffer, "");
  EXPECT_EQ(ReplyIsPositive(ReplyBuffer), 0);
  // The next command fails at its send or finds nothing; either way it is no success.
  Send("USER x\r\n");
  EXPECT_EQ(ReplyIsPositive(ReplyBuffer), 0);
}

// A multi-line reply ends only at a line that starts with its code and a space: a line of
// free text in between neither ends it nor puts the next reply one behind.
TEST_F(ControlConnectionTest, FreeTextInsideAMultiLineReplyDoesNotEndIt) {
  ASSERT_EQ(Open(testenv::ScriptedPort("spacedcontinuation")), 1);
  EXPECT_EQ(ReplyBuffer, "220 the real end\r\n");
  EXPECT_EQ(Log(), "220 the real end\r\n");
  ASSERT_EQ(Send("NOOP\r\n"), 1);
  EXPECT_EQ(ReplyBuffer, "200 OK NOOP\r\n");
}

// Each byte comes within the time limit, the whole reply never: the reply's own deadline
// gives up on it and drops the connection.
TEST_F(ControlConnectionTest, ReplyDrippingInIsGivenUpOnAtItsDeadline) {
  ASSERT_EQ(Open(testenv::ScriptedPort("dripreply")), 1);
  EXPECT_EQ(Send("NOOP\r\n"), 0);
  EXPECT_EQ(ReplyIsPositive(ReplyBuffer), 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
}

TEST_F(ControlConnectionTest, GreetingThatNeverEndsIsGivenUpOn) {
  EXPECT_EQ(Open(testenv::ScriptedPort("endlessgreeting")), 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
}

TEST_F(ControlConnectionTest, SilentServerHitsTheTimeLimitAndTheConnectionIsDropped) {
  ASSERT_EQ(Open(testenv::ScriptedPort("silentafter")), 1);
  EXPECT_EQ(Send("NOOP\r\n"), 0);
  EXPECT_EQ(ReplyIsPositive(ReplyBuffer), 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  EXPECT_EQ(Send("NOOP\r\n"), 0);  // later commands fail at once
}

// The log is held open for the session: every line can be read at once, a change of
// LogPath takes the next line to the new file, and the end of the session lets go of the
// file, so that the work folder holding it can be removed.
TEST_F(ControlConnectionTest, LogIsReadableAtOnceAndLetGoAtTheSessionsEnd) {
  const std::string folder = dir.path() + "work\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  LogPath = folder + "ftplog.txt";
  ASSERT_EQ(Open(testenv::ScriptedPort("greeting3")), 1);
  ASSERT_EQ(Send("NOOP\r\n"), 1);
  EXPECT_EQ(Log(), "220 Third line\r\nNOOP\r\n200 OK NOOP\r\n");

  const std::string first = LogPath;
  LogPath = folder + "second.txt";
  ASSERT_EQ(Send("SYST\r\n"), 1);
  EXPECT_EQ(Log(), "SYST\r\n200 OK SYST\r\n");
  EXPECT_EQ(ReadWholeFile(first), "220 Third line\r\nNOOP\r\n200 OK NOOP\r\n");

  CloseControlConnection();
  EXPECT_TRUE(DeleteFileA(first.c_str()));
  EXPECT_TRUE(DeleteFileA(LogPath.c_str()));
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
  EXPECT_TRUE(boxes.boxes().empty());
}
