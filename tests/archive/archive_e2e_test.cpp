// Archive mode of the real program, Japanese edition, with archives made by Debian's lha and
// zip and checked by lhasa: the rows of an .lzh, opening, renaming and deleting members (more
// than one delete command; names the library cannot be given and its refusals reported), Test
// Extract of LHA and ZIP, Compress Files, download into and upload from an archive (a member
// in a folder into that folder) against vsftpd, a damaged member, and the same without the
// libraries.
#include <map>

#include "support/program_fixture_win.h"

namespace {

const std::string kSjisName = "\x95\x5c\x8e\xa6 memo.txt";  // its second byte is a backslash

std::string ManyName(int i) { return "many member " + std::to_string(100 + i) + " with a long name to fill the command.txt"; }

class ArchiveTest : public ProgramTest {
 protected:
  // The tree the archives are made of, dated 1999-03-07 10:05: a name with blanks, a member in
  // a folder, a picture. (jlha cannot store Shift-JIS names: the program renames one to it.)
  void SetUp() override {
    host = "/tmp/vako-archive-" + std::to_string(GetCurrentProcessId()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    server = testenv::Get("VAKO_VSFTPD_ROOT") + "/" + host.substr(5);
    hostLocal = testenv::WinePath(host + "/local") + "\\";
    ASSERT_EQ(Host("rm -rf " + host + " && mkdir -p " + host + "/local " + host + "/test " + host + "/src/docs " + server + " && cd " + host +
                   "/src && printf 'text one\\r\\n' > 'with space.txt' && printf 'kanji\\r\\n' > memo.txt && printf 'in docs\\r\\n' > docs/a.txt && "
                   "head -c 3000 /dev/urandom > b.gif && printf opened > member.vakodata && touch -d '1999-03-07 10:05' * docs/*"),
              0);
  }
  void TearDown() override {
    ProgramTest::TearDown();
    vako.reset();
    Host("rm -rf " + host + " " + server);
  }
  std::string Lhasa(const std::string& archive) {
    Host("lhasa l " + host + "/local/" + archive + " > " + host + "/listing 2>&1");
    return ReadWholeFile(testenv::WinePath(host + "/listing"));
  }
  // A file on the server's disk, owned by the FTP user.
  void ServerFile(const std::string& name, const std::string& text) {
    ASSERT_EQ(Host("printf '" + text + "' > '" + server + "/" + name + "' && chown -R " + testenv::Get("VAKO_FTP_USER") + " " + server), 0);
  }

  // The local folder is one that the host's lha and lhasa see too.
  void Start(Lines settings = {}) {
    ASSERT_EQ(Host("chown -R " + testenv::Get("VAKO_FTP_USER") + " " + server), 0);
    settings.insert(settings.end(), {"InitialLocalFolder=" + hostLocal, "InitialRemoteFolder=" + host.substr(5),
                                     "TestFolder=" + testenv::WinePath(host + "/test"), "TestOpen=0", "OK=1",
                                     PortSetting("VAKO_VSFTPD_PORT")});
    ProgramTest::Start(settings);
    Connect();
    ASSERT_TRUE(WaitForRow(panes.remoteList, "..") && WaitForRow(panes.localList, ".."));
  }
  void Enter(const std::string& archive, const std::string& rowToWaitFor) {
    Select(0, {archive});
    ASSERT_TRUE(vako->SendCommand(IDM_ENTER));
    ASSERT_TRUE(rowToWaitFor.empty() || WaitForRow(panes.localList, rowToWaitFor));
  }

  std::string host, server, hostLocal;
};

TEST_F(ArchiveTest, BrowseOpenRenameDeleteAndTestExtract) {
  std::string many;
  for (int i = 0; i < 20; ++i) many += " '" + ManyName(i) + "'";
  ASSERT_EQ(Host("cd " + host + "/src && lha aq ../local/tools.lzh * && zip -qr '../local/my pack.zip' . && for f in" + many +
                 "; do echo $f > \"$f\"; done && lha aq ../local/data.lzh * && python3 -c \"import zipfile; "
                 "z = zipfile.ZipFile('../local/my pack.zip', 'a'); z.writestr('../escaped.txt', 'out'); z.close()\""),
            0);
  Start();
  Enter("data.lzh", "docs/a.txt");
  // The rows against lhasa's own listing: every member, the folder part kept.
  const std::string oracle = Lhasa("data.lzh");
  const std::vector<ListRowView> rows = vako->Rows(panes.localList);
  EXPECT_GE(rows.size(), 25u) << oracle;  // lha may store the folder docs as a member of its own
  std::map<std::string, ListRowView> by_name;
  for (const ListRowView& row : rows) {
    EXPECT_NE(oracle.find(row.name()), std::string::npos) << row.name();
    by_name[row.name()] = row;
  }
  EXPECT_EQ(Lines(by_name["with space.txt"].column + 1, by_name["with space.txt"].column + 4), (Lines{"10", "ASCII", "1999/03/07 10:05"}));
  EXPECT_EQ(Lines(by_name["b.gif"].column + 1, by_name["b.gif"].column + 3), (Lines{"3000", "BINARY"}));
  EXPECT_EQ(by_name["docs/a.txt"].column[1], "9");
  ASSERT_TRUE(vako->SendCommand(IDM_NEW_FOLDER));  // does nothing inside an archive
  EXPECT_EQ(vako->RowCount(panes.localList), static_cast<int>(rows.size()));

  // Open: the member goes to the work folder and to the shell, which has no program for it.
  Select(0, {"member.vakodata"});
  vako->PostCommand(IDM_ENTER);
  EXPECT_EQ(AnswerBox(60000), ResourceText(IDS_FAILED_SHELL_OPEN));
  EXPECT_EQ(WorkFolderCopies("member.vakodata"), Lines{"opened"});

  // Rename in place to a Shift-JIS name with a blank (lhasa shows its bytes as '?').
  ASSERT_TRUE(RenameRow(panes.localList, "memo.txt", kSjisName));
  EXPECT_LT(vako->RowOfName(panes.localList, "memo.txt"), 0);
  EXPECT_NE(ReadWholeFile(hostLocal + "data.lzh").find(kSjisName), std::string::npos);
  EXPECT_NE(Lhasa("data.lzh").find("?\\?? memo.txt"), std::string::npos);

  // Delete of twenty long names and one with a blank: more than 511 characters in all.
  Lines doomed = {"with space.txt"};
  for (int i = 0; i < 20; ++i) doomed.push_back(ManyName(i));
  Select(0, doomed);
  vako->PostCommand(IDM_DELETE);
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(panes.localList, ManyName(19)) < 0; }));
  EXPECT_EQ(vako->RowCount(panes.localList), static_cast<int>(rows.size()) - 21);
  const std::string left = Lhasa("data.lzh");
  EXPECT_EQ(left.find("many member"), std::string::npos) << left;
  EXPECT_EQ(left.find("with space.txt"), std::string::npos) << left;
  EXPECT_NE(left.find("docs/a.txt"), std::string::npos) << left;
  EXPECT_EQ(Host("lhasa t " + host + "/local/data.lzh"), 0);

  // Test Extract of an LHA archive, a second run finding its folder made; Previous Folder
  // closes the archive.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  EXPECT_LT(vako->RowOfName(panes.localList, "docs/a.txt"), 0);
  Enter("tools.lzh", "docs/a.txt");
  ASSERT_TRUE(vako->SendCommand(IDM_TEST_EXTRACT));
  EXPECT_EQ(Host("cd " + host + " && diff -r src/docs test/tools/docs && cmp src/b.gif test/tools/b.gif"), 0);
  vako->PostCommand(IDM_TEST_EXTRACT);
  EXPECT_EQ(AnswerBox(60000), ResourceText(IDS_FAILED_MAKE_FOLDER));
  // The context menu's Test Extract of a ZIP file (the menu leaves the file's name behind); its
  // member climbing out stays inside.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  Select(0, {"my pack.zip"});
  vako->PostCommand(IDM_OPEN);  // no program takes .zip here: the name stays behind all the same
  AnswerBox(5000);
  ASSERT_TRUE(vako->SendCommand(IDM_ARCHIVE_TEST_EXTRACT));
  EXPECT_EQ(Host("cd " + host + " && diff -r src/docs 'test/my pack/docs' && cmp src/b.gif 'test/my pack/b.gif'"), 0);
  EXPECT_EQ(Host("test -e " + host + "/escaped.txt || test -e " + host + "/test/escaped.txt"), 1);
}

// The text of a report up to the names or library output that follow its "%s".
std::string ReportStart(int id) { return ResourceText(id).substr(0, ResourceText(id).find("%s")); }

TEST_F(ArchiveTest, DeleteReportsTheMembersItCouldNotDelete) {
  ASSERT_EQ(Host("cd " + host + "/src && for f in @x 'st*r.txt' 'q?.txt'; do echo $f > \"$f\"; done && "
                 "lha aq ../local/odd.lzh @x 'st*r.txt' 'q?.txt' memo.txt && lha aq ../local/cut.lzh memo.txt && "
                 "head -c 100000 /dev/urandom > big.bin && lha aq ../local/cut.lzh big.bin && truncate -s -1000 ../local/cut.lzh"),
            0);
  Start();
  // Names the library would take for a response file or wildcards are named, not dropped.
  Enter("odd.lzh", "memo.txt");
  Select(0, {"@x", "st*r.txt", "q?.txt", "memo.txt"});
  vako->PostCommand(IDM_DELETE);
  const std::string refused = AnswerBox();
  EXPECT_EQ(refused.rfind(ReportStart(IDS_MEMBERS_NOT_DELETED), 0), 0u) << refused;
  for (const char* name : {"@x", "st*r.txt", "q?.txt"}) EXPECT_NE(refused.find(std::string("\r\n") + name), std::string::npos) << refused;
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(panes.localList, "memo.txt") < 0; }));
  EXPECT_EQ(vako->RowCount(panes.localList), 3);
  // A library that refuses the command (the archive is cut short behind its first member).
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  Enter("cut.lzh", "memo.txt");
  Select(0, {"memo.txt"});
  vako->PostCommand(IDM_DELETE);
  const std::string failed = AnswerBox();
  EXPECT_EQ(failed.rfind(ReportStart(IDS_FAILED_DELETE_MEMBERS), 0), 0u) << failed;
  EXPECT_NE(failed.find("cut.lzh"), std::string::npos) << failed;
  EXPECT_GE(vako->RowOfName(panes.localList, "memo.txt"), 0);
}

TEST_F(ArchiveTest, CompressFilesIntoTheArchiveShown) {
  ASSERT_EQ(Host("cd " + host + "/src && echo seed > seed.txt && lha aq ../local/box.lzh seed.txt && cp 'with space.txt' b.gif ../local/"), 0);
  Start({"LZHSys=1"});
  Enter("box.lzh", "seed.txt");
  vako->PostCommand(IDM_COMPRESS_FILES);
  HWND open = vako->WaitForDialog(20000, ResourceText(IDS_COMPRESS_TITLE));
  ASSERT_NE(open, nullptr);
  for (int id : {0x47C, 0x480}) VakoProcess::SetItemText(open, id, "\"with space.txt\" \"b.gif\"");  // the name field
  VakoProcess::PressButton(open, IDOK);
  ASSERT_TRUE(WaitForRow(panes.localList, "b.gif"));
  EXPECT_GE(vako->RowOfName(panes.localList, "with space.txt"), 0);
  ASSERT_EQ(Host("mkdir " + host + "/check && cd " + host + "/check && lhasa xq ../local/box.lzh && cmp ../src/b.gif b.gif && "
                 "cmp '../src/with space.txt' 'with space.txt' && cmp ../src/seed.txt seed.txt"),
            0);
}

TEST_F(ArchiveTest, DownloadIntoAndUploadFromTheArchiveAndTheSameWithoutLibraries) {
  ASSERT_EQ(Host("cd " + host + "/src && lha aq ../local/data.lzh * && head -c 200000 /dev/urandom > big.bin && "
                 "lha aq ../local/damaged.lzh big.bin && python3 -c \"p = '../local/damaged.lzh'; "
                 "d = bytearray(open(p, 'rb').read()); d[len(d) // 2] ^= 0xFF; open(p, 'wb').write(d)\""),
            0);
  ServerFile("got here.txt", "from the server\\r\\n");
  Start();
  Enter("data.lzh", "with space.txt");
  Select(1, {"got here.txt"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  ASSERT_TRUE(WaitForRow(panes.localList, "got here.txt"));
  EXPECT_NE(Lhasa("data.lzh").find("got here.txt"), std::string::npos);
  EXPECT_EQ(WorkFolderCopies("got here.txt"), Lines{});

  Select(0, {"with space.txt", "b.gif"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{ResourceText(IDS_COMPLETED_SEND)});
  EXPECT_EQ(Host("cmp " + host + "/src/b.gif '" + server + "/b.gif' && cmp '" + host + "/src/with space.txt' '" + server + "/with space.txt'"), 0);
  EXPECT_EQ(WorkFolderCopies("b.gif"), Lines{});
  // A member in a folder goes into that folder of the server, made there for it.
  Select(0, {"docs/a.txt"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{ResourceText(IDS_COMPLETED_SEND)});
  EXPECT_EQ(Host("cmp " + host + "/src/docs/a.txt '" + server + "/docs/a.txt'"), 0);

  // A member whose data is damaged: nothing is sent, and the job says so.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  Enter("damaged.lzh", "big.bin");
  Select(0, {"big.bin"});
  EXPECT_EQ(Run(IDM_UPLOAD), (Lines{ResourceText(IDS_FAILED_SEND), ResourceText(IDS_COMPLETED_SEND)}));
  EXPECT_EQ(Host("test -e '" + server + "/big.bin'"), 1);

  // Without the libraries: an empty archive view, an empty extraction folder, and a download
  // into the archive that cannot add the file is reported, not lost silently.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  ASSERT_TRUE(DeleteFileA((program.path() + "unlha32.dll").c_str()));
  ASSERT_TRUE(DeleteFileA((program.path() + "unzip32.dll").c_str()));
  ServerFile("remote.txt", "x");
  Refresh(1);
  ASSERT_TRUE(WaitForRow(panes.remoteList, "remote.txt"));
  Enter("data.lzh", "");
  EXPECT_EQ(vako->RowCount(panes.localList), 0);
  ASSERT_TRUE(vako->SendCommand(IDM_TEST_EXTRACT));
  EXPECT_EQ(Host("test -d " + host + "/test/data && test -z \"$(ls -A " + host + "/test/data)\""), 0);
  Select(1, {"remote.txt"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), (Lines{ResourceText(IDS_FAILED_RECEIVE), ResourceText(IDS_COMPLETED_RECEIVE)}));
  EXPECT_EQ(WorkFolderCopies("remote.txt"), Lines{});
  ASSERT_TRUE(vako->MakePaneActive(0));
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  ASSERT_TRUE(WaitForRow(panes.localList, "data.lzh"));
}

}  // namespace
