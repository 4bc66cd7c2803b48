// The real program against servers that misbehave on purpose (tests/support/scripted_ftpd.py).
// Every case is judged alike: the program stays alive and answers its window, tells what
// went wrong in the boxes expected and no others, writes nothing outside the local folder,
// and is usable afterwards (a fresh login lists the folder) or has closed the session.
#include <ostream>
#include <set>

#include "support/case_table.h"
#include "support/program_fixture_win.h"

namespace {

enum class Action { Connect, Download, Upload, Mirror };
class HostileServer;

struct Case {
  const char* name;
  const char* scenario;
  Action action;
  Lines boxes;                      // the messages expected, in order (completion messages aside)
  void (*check)(HostileServer&);    // what else the case must leave behind, or null
  std::string localFiles = "";      // made in the local folder beforehand, by /bin/sh
  bool staysUsable = true;          // false: the session must be closed, and a new one meets the same server
  const char* timeLimit = "3";      // VAKO_NET_TIMEOUT of the program, in seconds
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const std::string kSjis5cName = "\x95\x5c\x8e\xa6.txt";  // its second byte is a backslash
const char kSmuggled[] = "a\r\nDELE victim";             // a local folder with a command in its name

class HostileServer : public ProgramTest, public ::testing::WithParamInterface<Case> {
 public:
  using ProgramTest::panes;  // the cases' checks look at them
  using ProgramTest::vako;
  void SetUp() override {
    // The chosen local folder sits in a sandbox beside a sentinel folder; both are on
    // the host's disk so that names Windows would refuse can be made there.
    sandbox = "/tmp/vako-hostile-" + std::to_string(GetCurrentProcessId()) + "-" + GetParam().name;
    ASSERT_EQ(RunHostCommand("rm -rf " + sandbox + " && mkdir -p " + sandbox + "/local " + sandbox +
                             "/sentinel/inner && echo keep > " + sandbox + "/sentinel/inner/keep.txt"),
              0);
    localFolder = testenv::WinePath(sandbox + "/local/");
    record = testenv::WinePath(testenv::Get("VAKO_SCRIPTED_RECORD") + "/" + GetParam().scenario + ".log");
    recordStart = ReadWholeFile(record).size();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    vako.reset();
    RunHostCommand("rm -rf " + sandbox);
  }

  void Start() {
    WriteWholeFile(program.path() + "vako.ini",
                   "[Vako]\r\nInitialLocalFolder=" + localFolder + "\r\nHostAddr=127.0.0.1\r\nPort=" +
                       std::to_string(testenv::ScriptedPort(GetParam().scenario)) + "\r\nYesNo=0\r\nOK=1\r\n");
    // The program inherits the time limit: a short one ends the slow cases in seconds.
    SetEnvironmentVariableA("VAKO_NET_TIMEOUT", GetParam().timeLimit);
    Launch();
  }

  bool Answers() {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(vako->window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30000, &result) != 0;
  }

  // Answers every message box until the program is idle with none open: after a job's
  // completion message, or for a login once it has ended (the window answers while it
  // runs) and no box has come for a while. The texts in order, completion messages left out.
  Lines AnswerBoxes(bool job) {
    const Lines ends = {ResourceText(IDS_COMPLETED_SEND), ResourceText(IDS_COMPLETED_RECEIVE)};
    Lines texts;
    bool ended = !job;
    for (int rounds = 0; rounds < 200; ++rounds) {
      const std::string text = AnswerBox(ended ? 1500 : 120000);
      if (text == "<no box>") {
        if (!ended) return texts;  // no completion message: the comparison shows it
        // A connect attempt still running greys both Connect and Disconnect.
        if (Answers() && WindowsOfProcess(vako->processId(), "#32770").empty() &&
            vako->ButtonState(IDM_PREVIOUS_FOLDER) != TBSTATE_INDETERMINATE &&
            (vako->ButtonState(IDM_CONNECT) == TBSTATE_ENABLED || vako->ButtonState(IDM_DISCONNECT) == TBSTATE_ENABLED))
          return texts;
        continue;
      }
      if (std::find(ends.begin(), ends.end(), text) != ends.end()) {
        ended = true;
        WaitUntil([&] { return vako->ButtonState(IDM_PREVIOUS_FOLDER) != TBSTATE_INDETERMINATE; }, 60000);
      } else {
        texts.push_back(text.substr(0, text.find("\r\n\r\n")));  // the message; where and why below it
      }
    }
    texts.push_back("<boxes without end>");
    return texts;
  }

  // The action, up to the end of the boxes it brings.
  Lines Act(Action action) {
    if (!vako->ConnectThroughDialog("anyone", "x")) return {"<no connect dialog>"};
    Lines texts = AnswerBoxes(false);
    if (action == Action::Connect) return texts;
    EXPECT_TRUE(vako->MakePaneActive(action == Action::Download ? 1 : 0));
    HWND list = action == Action::Download ? panes.remoteList : panes.localList;
    std::vector<int> rows;
    for (int row = 1; row < vako->RowCount(list); ++row) rows.push_back(row);  // all but ".."
    vako->SelectRows(list, rows);
    vako->PostCommand(action == Action::Download ? IDM_DOWNLOAD
                      : action == Action::Upload ? IDM_UPLOAD
                                                 : IDM_MIRROR_UPLOAD);
    Lines more = AnswerBoxes(true);
    texts.insert(texts.end(), more.begin(), more.end());
    return texts;
  }

  // The end of the protocol log, to show with a failure.
  static std::string LogTail() {
    const std::string log = ReadWholeFile(NewestWorkFolder("ftplog.txt") + "ftplog.txt");
    return "protocol log: ..." + log.substr(log.size() > 800 ? log.size() - 800 : 0);
  }

  // The commands the server read in this case, as "folder|line".
  Lines Recorded() { return SplitOn(ReadWholeFile(record).substr(recordStart), '\n'); }

  std::string sandbox, localFolder, record;
  size_t recordStart = 0;
};

// clang-format off
const Case kCases[] = {
    // A name too long for a local path is told twice, as the download job has it: the file
    // could not be written, so it was not received.
    {"TraversalNamesInAListing", "traversal", Action::Download,
     {ResourceText(IDS_FAILED_WRITE_FILE), ResourceText(IDS_FAILED_RECEIVE)},
     [](HostileServer& t) {
       EXPECT_EQ(FolderEntries(t.localFolder), (Lines{"ok.txt", kSjis5cName}));
       EXPECT_EQ(ReadWholeFile(t.localFolder + kSjis5cName), "data of " + kSjis5cName);
     }},
    {"NameHoldingCrLf", "sink", Action::Upload, {ResourceText(IDS_SKIPPED_REMOTE_FOLDER, kSmuggled)},
     [](HostileServer& t) {
       const Lines lines = t.Recorded();
       EXPECT_NE(std::find(lines.begin(), lines.end(), "/|STOR plain.txt"), lines.end());
       for (const std::string& line : lines) EXPECT_EQ(line.find("DELE"), std::string::npos) << line;
     },
     "echo plain > plain.txt && mkdir '" + std::string(kSmuggled) + "'"},
    // The cut reply keeps its line end: the command after it starts a line of its own.
    {"ReplyLineOf100KB", "floodline", Action::Connect, {ResourceText(IDS_CONNECTION_LOST)},
     [](HostileServer&) {
       EXPECT_NE(ReadWholeFile(NewestWorkFolder("ftplog.txt") + "ftplog.txt").find("\r\nPASS ********\r\n"),
                 std::string::npos);
     }},
    {"EndlessMultiLineReply", "endlessgreeting", Action::Connect, {ResourceText(IDS_FAILED_CONNECT)}, nullptr, "", false},
    {"ReplyDrippedAByteAtATime", "dripreply", Action::Connect, {ResourceText(IDS_FAILED_LOGIN)}, nullptr},
    {"DataPortNeverConnects", "noconnect", Action::Connect, {ResourceText(IDS_FAILED_LISTING)}, nullptr},
    {"PortTheftByAThirdParty", "portthief", Action::Connect, {},
     [](HostileServer& t) {
       EXPECT_GE(t.vako->RowOfName(t.panes.remoteList, "genuine.txt"), 0);
       EXPECT_LT(t.vako->RowOfName(t.panes.remoteList, "stolen.txt"), 0);
     }},
    {"DataConnectionClosedMidLine", "midline", Action::Connect, {ResourceText(IDS_FAILED_LISTING)}, nullptr},
    {"Reply150Then425", "refuse425", Action::Connect, {ResourceText(IDS_FAILED_LISTING)}, nullptr},
    // The whole listing must arrive within twice the time limit: the default one, as the
    // listing up to the cap takes many seconds.
    {"ListingPastTheCap", "endlesslisting", Action::Connect, {ResourceText(IDS_OUT_OF_MEMORY)},
     [](HostileServer& t) { EXPECT_GE(t.vako->RowOfName(t.panes.remoteList, "first.txt"), 0); }, "", true, "60"},
    // What each listing showed arrived; a file the server refused, and a binary one it
    // sent shorter than listed (and confirmed), fail and leave the earlier file as it was;
    // what came of the short one waits beside it for the next download to go on from. A
    // folder the server will not let in leaves no empty local folder behind.
    {"RecursiveDownloadFromALiar", "liar", Action::Download,
     {ResourceText(IDS_SKIPPED_REMOTE_FOLDER, "locked"), ResourceText(IDS_FAILED_RECEIVE),
      ResourceText(IDS_FAILED_RECEIVE)},
     [](HostileServer& t) {
       EXPECT_EQ(FolderEntries(t.localFolder), (Lines{"drift1.txt", "extra.txt", "keep.txt", "refused.bin",
                                          "short.bin", "short.bin.vkpart", "short.bin.vkpart.txt", "sub/",
                                          "sub/ghost.txt", "sub/inner.txt"}));
       EXPECT_EQ(ReadWholeFile(t.localFolder + "refused.bin"), "mine\n");
       EXPECT_EQ(ReadWholeFile(t.localFolder + "short.bin"), "good\n");
     },
     "echo mine > refused.bin && echo good > short.bin"},
    // Gone are only names the listing of that folder showed and the local side lacks.
    {"MirroringUploadOntoALiar", "liar", Action::Mirror, {ResourceText(IDS_SKIPPED_REMOTE_FOLDER, "locked")},
     [](HostileServer& t) {
       const std::set<std::string> gone = {"/|DELE extra.txt", "/|DELE refused.bin", "/|DELE short.bin",
                                           "/sub|DELE ghost.txt"};
       int deletes = 0;
       for (const std::string& line : t.Recorded()) {
         if (line.find("|DELE ") == std::string::npos && line.find("|RMD ") == std::string::npos) continue;
         ++deletes;
         EXPECT_TRUE(gone.count(line) || line.rfind("/|DELE drift", 0) == 0) << line;
       }
       EXPECT_GE(deletes, 4);
     },
     "mkdir sub locked && echo k > keep.txt && echo n > new.txt && echo i > sub/inner.txt && echo l > locked/l.txt"},
    // A server that folds letter case stores index.html over Index.html and enters Images
    // for images: both are the local entries' counterparts and stay. Gone is only what the
    // local side lacks in any case.
    {"MirroringOntoACaseFoldingServer", "foldcase", Action::Mirror, {},
     [](HostileServer& t) {
       Lines changes;
       for (const std::string& line : t.Recorded())
         for (const char* verb : {"|STOR ", "|DELE ", "|RMD "})
           if (line.find(verb) != std::string::npos) changes.push_back(line);
       EXPECT_EQ(Sorted(changes),
                 Sorted({"/|STOR index.html", "/Images|STOR logo.gif", "/|DELE old.txt", "/Images|DELE stale.gif"}));
     },
     "mkdir images && echo i > index.html && echo l > images/logo.gif"},
};
// clang-format on

TEST_P(HostileServer, ProgramSurvivesAndKeepsToItsFolder) {
  const Case& c = GetParam();
  if (!c.localFiles.empty()) {
    ASSERT_EQ(RunHostCommand("cd " + sandbox + "/local && " + c.localFiles), 0);
  }
  const Lines localBefore = FolderEntries(localFolder);
  Start();

  EXPECT_EQ(Act(c.action), c.boxes) << LogTail();
  EXPECT_EQ(vako->WaitForExit(0), -1) << "the program ended";
  ASSERT_TRUE(Answers()) << "the window does not answer";
  if (c.check) c.check(*this);

  // Nothing beside the local folder changed, nor the program's folder or the drive's root.
  Lines beside = FolderEntries(testenv::WinePath(sandbox + "/"));
  beside.erase(
      std::remove_if(beside.begin(), beside.end(), [](const std::string& e) { return e.rfind("local/", 0) == 0; }),
      beside.end());
  EXPECT_EQ(beside, (Lines{"sentinel/", "sentinel/inner/", "sentinel/inner/keep.txt"}));
  EXPECT_FALSE(FileExists("C:\\x"));
  EXPECT_FALSE(FileExists(program.path() + "x"));
  if (c.action == Action::Upload || c.action == Action::Mirror) {
    EXPECT_EQ(FolderEntries(localFolder), localBefore);
  }

  // Usable still: a new session (the server is well-behaved for "calm") lists its folder.
  // A server that never lets a login finish must have been left.
  if (!c.staysUsable) {
    EXPECT_NE(vako->ButtonState(IDM_DISCONNECT), TBSTATE_ENABLED);
  }
  if (vako->ButtonState(IDM_DISCONNECT) == TBSTATE_ENABLED) {
    ASSERT_TRUE(vako->SendCommand(IDM_DISCONNECT));
  }
  ASSERT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_CONNECT) == TBSTATE_ENABLED; }));
  if (c.staysUsable) {
    ASSERT_TRUE(vako->ConnectThroughDialog("calm", "x"));
    EXPECT_TRUE(WaitUntil([&] { return vako->RowOfName(panes.remoteList, "calm.txt") >= 0; }, 30000));
    EXPECT_EQ(AnswerBoxes(false), Lines{});
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileServer, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
