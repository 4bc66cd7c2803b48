// Jobs and commands whose connection to vsftpd breaks, through the relay of
// tests/support/cutting_relay.py: the job logs in again and goes on, the large file from
// where it broke, and the trees end byte-exact; without tries, or with the tries spent, the
// session ends as before; Stop ends the wait; a command after an idle drop is repeated.
#include <ostream>

#include "support/program_fixture_win.h"

namespace {

const size_t kBig = 20u << 20;
const std::string kCutAt = std::to_string(8u << 20);

// One line to the relay's arming port; its answer.
std::string Relay(const std::string& line) {
  const std::string out = "/tmp/vako-relay-" + std::to_string(GetCurrentProcessId());
  RunHostCommand("/usr/bin/python3 -c \"import socket,sys; s=socket.create_connection(('127.0.0.1'," +
                 testenv::Get("VAKO_RELAY_ARM_PORT") + ")); s.sendall(b'" + line +
                 "\\n'); sys.stdout.write(s.makefile().readline())\" > " + out);
  return ReadWholeFile(testenv::WinePath(out));
}

// The value of key in the relay's counts ("logins=1 refused=0 ... sent=5,7").
std::string CountOf(const std::string& counts, const std::string& key) {
  const size_t at = (" " + counts).find(" " + key + "=");
  if (at == std::string::npos) return "";
  const size_t start = at + key.size() + 1;
  return counts.substr(start, counts.find_first_of(" \n", start) - start);
}
std::vector<uint64_t> Sizes(const std::string& list) {
  std::vector<uint64_t> sizes;
  for (size_t start = 0; start < list.size();) {
    const size_t end = std::min(list.find(',', start), list.size());
    sizes.push_back(std::stoull(list.substr(start, end - start)));
    start = end + 1;
  }
  return sizes;
}

// A tree line with its bytes, for comparing both disks.
std::string WithBytes(const std::string& path, const std::string* data) {
  return data ? path + " " + std::to_string(data->size()) + " " + std::to_string(std::hash<std::string>{}(*data)) : path;
}

struct Cut {
  const char* name;
  int command;             // IDM_DOWNLOAD, IDM_UPLOAD or IDM_MIRROR_UPLOAD
  const char* connection;  // "control" or "data"
};
void PrintTo(const Cut& cut, std::ostream* out) { *out << cut.name; }

class ReconnectTest : public ProgramTest {
 protected:
  std::string ServerFolder() const { return testenv::Get("VAKO_VSFTPD_ROOT") + "/" + folder_; }
  std::string OnServer() const { return testenv::WinePath(ServerFolder()) + "\\"; }

  // The server's folder for this test holds the tree t/ (a text, the large file, one more
  // file after it, a sub-folder) and, with extras, two entries the local side lacks.
  void PutServerTree(const std::string& folder, bool tree, bool extras = false) {
    Relay("clear");  // no break left armed by another test
    folder_ = folder;
    std::string script = "rm -rf '" + ServerFolder() + "' && mkdir -p '" + ServerFolder() + "' && cd '" + ServerFolder() + "'";
    if (tree)
      script += " && mkdir -p t/sub && printf 'a\\r\\n' > t/a.txt && head -c " + std::to_string(kBig) +
                " /dev/urandom > t/big.bin && echo c > t/c.bin && echo b > t/sub/b.bin";
    if (extras) script += " && mkdir -p stale/x t && echo s > stale/x/s.txt && echo o > t/old.bin";
    ASSERT_EQ(Host(script + " && chown -R " + testenv::Get("VAKO_FTP_USER") + " ."), 0);
  }
  void PutLocalTree() {
    ASSERT_TRUE(CreateDirectoryA((local.path() + "t").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((local.path() + "t\\sub").c_str(), nullptr));
    WriteWholeFile(local.path() + "t\\a.txt", "a\r\n");
    WriteWholeFile(local.path() + "t\\big.bin", Noise(kBig));
    WriteWholeFile(local.path() + "t\\c.bin", "c\n");
    WriteWholeFile(local.path() + "t\\sub\\b.bin", "b\n");
  }

  // Connected through the relay, with passive data connections (the relay carries those).
  void Start(Lines settings = {}) {
    settings.insert(settings.end(), {"InitialRemoteFolder=" + folder_, "Port=" + testenv::Get("VAKO_RELAY_PORT"),
                                     "Pasv=1", "OK=1"});
    ProgramTest::Start(settings);
    Connect();
    ASSERT_TRUE(WaitForRow(panes.remoteList, "..")) << Boxes();
  }

  std::string Log() { return ReadWholeFile(NewestWorkFolder() + "ftplog.txt"); }

  // The offset of the last REST in the log (0: none).
  uint64_t LastRestart() {
    const std::string log = Log();
    const size_t at = log.rfind("REST ");
    return at == std::string::npos ? 0 : std::stoull(log.substr(at + 5));
  }

  std::string folder_;
};

class CutDuringJob : public ReconnectTest, public ::testing::WithParamInterface<Cut> {};

// The job logs in again, enters its folder, goes on with the large file from where it
// broke, and ends as if nothing happened; the mirror deletes what only the server has.
TEST_P(CutDuringJob, EndsByteExactWithTheLargeFileContinued) {
  const Cut& cut = GetParam();
  const bool download = cut.command == IDM_DOWNLOAD;
  PutServerTree(cut.name, download, cut.command == IDM_MIRROR_UPLOAD);
  if (!download) PutLocalTree();
  Start();
  Select(download ? 1 : 0, {"t"});
  ASSERT_EQ(Relay(std::string("cut ") + cut.connection + " " + kCutAt), "ok\n");
  EXPECT_EQ(Run(cut.command), Lines{ResourceText(download ? IDS_COMPLETED_RECEIVE : IDS_COMPLETED_SEND)});

  EXPECT_EQ(FolderEntries(OnServer(), WithBytes), FolderEntries(local.path(), WithBytes));
  const std::string counts = Relay("counts");
  EXPECT_EQ(CountOf(counts, "logins"), cut.connection == std::string("control") ? "1" : "0") << counts;
  // The large file went on from its offset: the data connection after the break carried
  // the rest of it, and none carried all of it.
  const uint64_t offset = LastRestart();
  EXPECT_GT(offset, 0u);
  EXPECT_LT(offset, kBig);
  const std::vector<uint64_t> moved = Sizes(CountOf(counts, download ? "sent" : "received"));
  EXPECT_NE(std::find(moved.begin(), moved.end(), kBig - offset), moved.end()) << counts;
  EXPECT_LT(*std::max_element(moved.begin(), moved.end()), kBig) << counts;
  if (cut.command != IDM_MIRROR_UPLOAD) return;
  // Pass 2 of t/ listed the folder again after the login again before it deleted.
  const std::string log = Log();
  const size_t deleted = log.find("DELE old.bin"), entered = log.rfind("CWD ", deleted);
  ASSERT_NE(deleted, std::string::npos);
  EXPECT_LT(log.find("(logging in again)"), deleted);
  EXPECT_NE(log.substr(entered, deleted - entered).find("LIST"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Jobs, CutDuringJob,
                         ::testing::Values(Cut{"download_control", IDM_DOWNLOAD, "control"},
                                           Cut{"download_data", IDM_DOWNLOAD, "data"},
                                           Cut{"upload_control", IDM_UPLOAD, "control"},
                                           Cut{"upload_data", IDM_UPLOAD, "data"},
                                           Cut{"mirror_control", IDM_MIRROR_UPLOAD, "control"}),
                         [](const ::testing::TestParamInfo<Cut>& info) { return std::string(info.param.name); });

// The lost-connection message ends the job and the session when no login again is to be
// tried, or when every try failed; then it also says how many files were left (the large
// file and the one after it; the sub-folder was never entered).
TEST_F(ReconnectTest, WithoutTriesOrWithTheTriesSpentTheSessionEnds) {
  for (const char* tries : {"0", "1"}) {
    SCOPED_TRACE(tries);
    PutServerTree(std::string("spent") + tries, true);
    Start({std::string("ReconnectTries=") + tries});
    Select(1, {"t"});
    ASSERT_EQ(Relay("cut control " + kCutAt + " refuse"), "ok\n");
    vako->PostCommand(IDM_DOWNLOAD);
    const std::string lost = ResourceText(IDS_CONNECTION_LOST), box = AnswerBox(120000);
    ASSERT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_DISCONNECT) != TBSTATE_ENABLED; })) << Boxes();
    // The files of t/ that had not arrived whole (the listing's order decides which came first).
    int left = 0;
    for (const char* name : {"a.txt", "big.bin", "c.bin"}) left += !FileExists(local.path() + "t\\" + name);
    EXPECT_EQ(left > 0, true);
    EXPECT_EQ(box, tries == std::string("0") ? lost
                                             : lost + "\r\n" + ResourceText(IDS_FILES_NOT_TRANSFERRED, std::to_string(left)));
    EXPECT_EQ(CountOf(Relay("counts"), "refused"), tries);
    EXPECT_EQ(Boxes(), "");
    ASSERT_EQ(vako->Close(), 0) << Boxes();
  }
}

// Stop during the wait before the second try ends the job there: no further try is made.
TEST_F(ReconnectTest, StopEndsTheWait) {
  PutServerTree("stop", true);
  Start({"ReconnectTries=3"});
  Select(1, {"t"});
  ASSERT_EQ(Relay("cut control " + kCutAt + " refuse"), "ok\n");
  vako->PostCommand(IDM_DOWNLOAD);
  ASSERT_TRUE(WaitUntil([&] { return CountOf(Relay("counts"), "refused") == "1"; }, 120000)) << Boxes();
  // Meanwhile the status bar says which try comes.
  std::string next = ResourceText(IDS_RECONNECTING);
  for (const char* number : {"2", "3"}) next.replace(next.find("%s"), 2, number);
  HWND bar = vako->Child(2020);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(bar).find(next) != std::string::npos; }, 10000)) << WindowText(bar);
  vako->PostCommand(IDM_STOP);
  Lines texts = {AnswerBox(120000), AnswerBox(120000)};
  EXPECT_EQ(Sorted(texts), Sorted({ResourceText(IDS_JOB_STOPPED), ResourceText(IDS_CONNECTION_LOST)}));
  EXPECT_EQ(CountOf(Relay("counts"), "refused"), "1");
}

// A server that closed the idle session with 421: the next command logs in again and is
// sent once more, and the refreshed list shows what the server holds now.
TEST_F(ReconnectTest, IdleDropOutsideAJobRepeatsTheCommand) {
  PutServerTree("idle", false);
  ASSERT_EQ(Relay("idle 1"), "ok\n");
  Start();
  ASSERT_TRUE(WaitUntil([&] { return CountOf(Relay("counts"), "idle421") == "1"; }, 60000));
  ASSERT_EQ(Host("echo new > '" + ServerFolder() + "/new.txt'"), 0);
  Refresh(1);
  EXPECT_TRUE(WaitForRow(panes.remoteList, "new.txt")) << Boxes();
  EXPECT_EQ(Boxes(), "");
  EXPECT_EQ(vako->ButtonState(IDM_DISCONNECT), TBSTATE_ENABLED);
  EXPECT_EQ(CountOf(Relay("counts"), "logins"), "2");
}

}  // namespace
