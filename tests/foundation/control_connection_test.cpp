// The control connection: host names and ports, and the replies of the scripted server.
#include <cstdlib>

#include "ftp/engine_fixture_win.h"

namespace {

// The silent-server cases wait for the time limit; keep it short here.
[[maybe_unused]] const int kShortTimeout = _putenv("VAKO_NET_TIMEOUT=3");

class ControlConnectionTest : public EngineTest {
 protected:
  int Open(int port, const char* host = "127.0.0.1") {
    ControlHost = host;
    ControlPort = port;
    return OpenControlConnection();
  }
  int Send(const std::string& command) {
    CommandBuffer = command;
    return SendCommand();
  }
};

TEST_F(ControlConnectionTest, HostNamesAndPorts) {
  ASSERT_EQ(Open(testenv::Port("VAKO_PYFTPD_PORT"), "localhost"), 1);
  EXPECT_EQ(ReplyBuffer.substr(0, 3), "220");
  CloseControlConnection();
  EXPECT_EQ(Open(21, "no-such-host.invalid"), 0);
  EXPECT_EQ(ControlSocket, INVALID_SOCKET);
  EXPECT_EQ(Open(1), 0);  // nobody listens on port 1 of the loopback address
}

// What the scripted server does, the greeting kept, a command, its result and the reply kept.
// A reply read whole leaves nothing behind: the command sent again gets the same reply. A
// reply that is given up on (result 0) drops the connection and leaves no reply.
struct Scripted {
  const char* scenario;
  std::string greeting;
  const char* command;
  int sent;
  std::string reply;
};

TEST_F(ControlConnectionTest, ScriptedServers) {
  const Scripted cases[] = {
      // A multi-line greeting keeps only its last line, also when free text stands inside it.
      {"multilinelogin", "220 Ready\r\n", "NOOP\r\n", 1, "200 Zzz\r\n"},
      {"onebyte", "220 slow greeting\r\n", "NOOP\r\n", 1, "250 NOOP done\r\n"},
      {"longline", "220 " + std::string(2000, 'x') + "\r\n", "NOOP\r\n", 1, "200 " + std::string(2000, 'y') + "\r\n"},
      // A line past 65,535 bytes is cut there, its line end kept; the rest is read off.
      {"floodline", "220 ready\r\n", "NOOP\r\n", 1, "200 " + std::string(65529, 'z') + "\r\n"},
      {"closeatonce", "", "USER x\r\n", -1, ""},
      // Each byte in time, the whole reply never: its deadline gives up on it.
      {"dripreply", "220 ready\r\n", "NOOP\r\n", 0, ""},
  };
  for (const Scripted& c : cases) {
    SCOPED_TRACE(c.scenario);
    WriteWholeFile(LogPath, "");
    ASSERT_EQ(Open(testenv::ScriptedPort(c.scenario)), 1);
    EXPECT_EQ(ReplyBuffer, c.greeting);
    EXPECT_EQ(ReadWholeFile(LogPath), c.greeting);
    for (int round = 0; round < (c.sent == 1 ? 2 : 1); ++round) {
      int sent = Send(c.command);
      if (c.sent >= 0) {
        EXPECT_EQ(sent, c.sent);
      }
      EXPECT_EQ(ReplyBuffer, c.reply);
    }
    if (c.sent == 0) {
      EXPECT_EQ(ControlSocket, INVALID_SOCKET);
      EXPECT_EQ(Send("NOOP\r\n"), 0);  // later commands fail at once
    }
    CloseControlConnection();
  }
}

// The log is held open for the session: every line can be read at once, a change of
// LogPath takes the next line to the new file, and the end of the session lets go of the
// file, so that the work folder holding it can be removed.
TEST_F(ControlConnectionTest, LogIsReadableAtOnceAndLetGoAtTheSessionsEnd) {
  const std::string folder = work.path() + "work\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  LogPath = folder + "ftplog.txt";
  ASSERT_EQ(Open(testenv::ScriptedPort("multilinelogin")), 1);
  ASSERT_EQ(Send("NOOP\r\n"), 1);
  EXPECT_EQ(ReadWholeFile(LogPath), "220 Ready\r\nNOOP\r\n200 Zzz\r\n");

  const std::string first = LogPath;
  LogPath = folder + "second.txt";
  ASSERT_EQ(Send("NOOP\r\n"), 1);
  EXPECT_EQ(ReadWholeFile(LogPath), "NOOP\r\n200 Zzz\r\n");
  EXPECT_EQ(ReadWholeFile(first), "220 Ready\r\nNOOP\r\n200 Zzz\r\n");

  CloseControlConnection();
  EXPECT_TRUE(DeleteFileA(first.c_str()));
  EXPECT_TRUE(DeleteFileA(LogPath.c_str()));
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
  EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
