// Archive mode of the real program, Japanese edition, with archives made by Debian's lha and
// zip and checked by lhasa: the rows of an .lzh, opening, renaming and deleting members (more
// than one delete command), Test Extract of LHA and ZIP, Compress Files, download into and
// upload from an archive against vsftpd, a damaged member, and the same without the libraries.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kSjisName = "\x95\x5c\x8e\xa6 memo.txt";  // its second byte is a backslash

std::string Text(int id) {
  char text[512] = "";
  LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
  return text;
}

std::string ManyName(int i) { return "many member " + std::to_string(100 + i) + " with a long name to fill the command.txt"; }

class ArchiveTest : public ::testing::Test {
 protected:
  // The tree the archives are made of, dated 1999-03-07 10:05: a name with blanks, a member in
  // a folder, a picture. (jlha cannot store Shift-JIS names: the program renames one to it.)
  void SetUp() override {
    host = "/tmp/vako-archive-" + std::to_string(GetCurrentProcessId()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    server = testenv::Get("VAKO_VSFTPD_ROOT") + "/" + host.substr(5);
    local = testenv::WinePath(host + "/local") + "\\";
    ASSERT_EQ(Host("rm -rf " + host + " && mkdir -p " + host + "/local " + host + "/test " + host + "/src/docs " + server + " && cd " + host +
                   "/src && printf 'text one\\r\\n' > 'with space.txt' && printf 'kanji\\r\\n' > memo.txt && printf 'in docs\\r\\n' > docs/a.txt && "
                   "head -c 3000 /dev/urandom > b.gif && printf opened > member.vakodata && touch -d '1999-03-07 10:05' * docs/*"),
              0);
  }
  void TearDown() override {
    vako.reset();
    Host("rm -rf " + host + " " + server);
  }
  int Host(const std::string& command) { return RunHostCommand(command); }
  std::string Lhasa(const std::string& archive) {
    Host("lhasa l " + host + "/local/" + archive + " > " + host + "/listing 2>&1");
    return ReadWholeFile(testenv::WinePath(host + "/listing"));
  }
  // A file on the server's disk, owned by the FTP user.
  void ServerFile(const std::string& name, const std::string& text) {
    ASSERT_EQ(Host("printf '" + text + "' > '" + server + "/" + name + "' && chown -R " + testenv::Get("VAKO_FTP_USER") + " " + server), 0);
  }

  void Start(const std::string& settings = "") {
    ASSERT_EQ(Host("chown -R " + testenv::Get("VAKO_FTP_USER") + " " + server), 0);
    WriteWholeFile(program.path() + "vako.ini", "[Vako]\r\n" + settings + "InitialLocalFolder=" + local + "\r\nInitialRemoteFolder=" + host.substr(5) +
                                                    "\r\nTestFolder=" + testenv::WinePath(host + "/test") +
                                                    "\r\nTestOpen=0\r\nYesNo=0\r\nOK=1\r\nHostAddr=127.0.0.1\r\nUserID=" + testenv::Get("VAKO_FTP_USER") +
                                                    "\r\nPort=" + testenv::Get("VAKO_VSFTPD_PORT") + "\r\n");
    vako.reset(new VakoProcess(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program.path()));
    ASSERT_NE(vako->WaitForMainWindow(), nullptr);
    localList = vako->Child(2000);
    remoteList = vako->Child(2100);
    ASSERT_TRUE(vako->ConnectThroughDialog(testenv::Get("VAKO_FTP_USER"), testenv::Get("VAKO_FTP_PASS")));
    ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "..") >= 0 && vako->RowOfName(localList, "..") >= 0; }));
  }
  bool Shows(HWND list, const std::string& name) { return WaitUntil([&] { return vako->RowOfName(list, name) >= 0; }); }
  void Select(HWND list, const Lines& names) {
    ASSERT_TRUE(vako->MakePaneActive(list == localList ? 0 : 1));
    ASSERT_TRUE(vako->SelectNames(list, names));
  }
  void Enter(const std::string& archive, const std::string& rowToWaitFor) {
    Select(localList, {archive});
    ASSERT_TRUE(vako->SendCommand(IDM_ENTER));
    if (!rowToWaitFor.empty()) {
      ASSERT_TRUE(Shows(localList, rowToWaitFor));
    }
  }
  // The next message box of the program, answered with OK: its text.
  std::string NextBox(DWORD milliseconds = 60000) {
    HWND box = vako->WaitForDialog(milliseconds, VAKO_CAPTION);
    if (!box) return "<no message>";
    const std::string text = VakoProcess::BoxText(box);
    VakoProcess::PressButton(box, IDOK);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
  }
  // The messages of a job up to its completion message, in order.
  Lines RunJob(int command) {
    vako->PostCommand(command);
    Lines texts;
    do texts.push_back(NextBox(120000));
    while (texts.back() != Text(IDS_COMPLETED_SEND) && texts.back() != Text(IDS_COMPLETED_RECEIVE) && texts.back() != "<no message>");
    EXPECT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_PREVIOUS_FOLDER) != TBSTATE_INDETERMINATE; }, 60000));
    return texts;
  }

  std::string host, server, local;
  TempFolder program;
  std::unique_ptr<VakoProcess> vako;
  HWND localList = nullptr, remoteList = nullptr;
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
  const std::vector<ListRowView> rows = vako->Rows(localList);
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
  EXPECT_EQ(vako->RowCount(localList), static_cast<int>(rows.size()));

  // Open: the member goes to the work folder and to the shell, which has no program for it.
  Select(localList, {"member.vakodata"});
  vako->PostCommand(IDM_ENTER);
  EXPECT_EQ(NextBox(), Text(IDS_FAILED_SHELL_OPEN));
  EXPECT_EQ(ReadWholeFile(NewestWorkFolder() + "member.vakodata"), "opened");

  // Rename in place to a Shift-JIS name with a blank (lhasa shows its bytes as '?'); a name the
  // library would take for a switch is never sent, and the member keeps its name.
  ASSERT_TRUE(vako->BeginEdit(localList, vako->RowOfName(localList, "memo.txt")));
  ASSERT_TRUE(vako->FinishEdit(localList, kSjisName));
  ASSERT_TRUE(Shows(localList, kSjisName));
  EXPECT_LT(vako->RowOfName(localList, "memo.txt"), 0);
  EXPECT_NE(ReadWholeFile(local + "data.lzh").find(kSjisName), std::string::npos);
  EXPECT_NE(Lhasa("data.lzh").find("?\\?? memo.txt"), std::string::npos);
  ASSERT_TRUE(vako->BeginEdit(localList, vako->RowOfName(localList, "b.gif")));
  ASSERT_TRUE(vako->FinishEdit(localList, "-x0"));
  ASSERT_TRUE(Shows(localList, "b.gif"));
  EXPECT_LT(vako->RowOfName(localList, "-x0"), 0);

  // Delete of twenty long names and one with a blank: more than 511 characters in all.
  Lines doomed = {"with space.txt"};
  for (int i = 0; i < 20; ++i) doomed.push_back(ManyName(i));
  Select(localList, doomed);
  vako->PostCommand(IDM_DELETE);
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, ManyName(19)) < 0; }));
  EXPECT_EQ(vako->RowCount(localList), static_cast<int>(rows.size()) - 21);
  const std::string left = Lhasa("data.lzh");
  EXPECT_EQ(left.find("many member"), std::string::npos) << left;
  EXPECT_EQ(left.find("with space.txt"), std::string::npos) << left;
  EXPECT_NE(left.find("docs/a.txt"), std::string::npos) << left;
  EXPECT_EQ(Host("lhasa t " + host + "/local/data.lzh"), 0);

  // Test Extract of an LHA archive, a second run finding its folder made; Previous Folder
  // closes the archive.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  EXPECT_LT(vako->RowOfName(localList, "docs/a.txt"), 0);
  Enter("tools.lzh", "docs/a.txt");
  ASSERT_TRUE(vako->SendCommand(IDM_TEST_EXTRACT));
  EXPECT_EQ(Host("cd " + host + " && diff -r src/docs test/tools/docs && cmp src/b.gif test/tools/b.gif"), 0);
  vako->PostCommand(IDM_TEST_EXTRACT);
  EXPECT_EQ(NextBox(), Text(IDS_FAILED_MAKE_FOLDER));
  // The context menu's Test Extract of a ZIP file (the menu leaves the file's name behind); its
  // member climbing out stays inside.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  Select(localList, {"my pack.zip"});
  vako->PostCommand(IDM_OPEN);  // no program takes .zip here: the name stays behind all the same
  NextBox(5000);
  ASSERT_TRUE(vako->SendCommand(IDM_ARCHIVE_TEST_EXTRACT));
  EXPECT_EQ(Host("cd " + host + " && diff -r src/docs 'test/my pack/docs' && cmp src/b.gif 'test/my pack/b.gif'"), 0);
  EXPECT_EQ(Host("test -e " + host + "/escaped.txt || test -e " + host + "/test/escaped.txt"), 1);
  EXPECT_EQ(vako->Close(), 0);
}

TEST_F(ArchiveTest, CompressFilesIntoTheArchiveShown) {
  ASSERT_EQ(Host("cd " + host + "/src && echo seed > seed.txt && lha aq ../local/box.lzh seed.txt && cp 'with space.txt' b.gif ../local/"), 0);
  Start("LZHSys=1\r\n");
  Enter("box.lzh", "seed.txt");
  vako->PostCommand(IDM_COMPRESS_FILES);
  HWND open = vako->WaitForDialog(20000, Text(IDS_COMPRESS_TITLE));
  ASSERT_NE(open, nullptr);
  for (int id : {0x47C, 0x480}) VakoProcess::SetItemText(open, id, "\"with space.txt\" \"b.gif\"");  // the name field
  VakoProcess::PressButton(open, IDOK);
  ASSERT_TRUE(Shows(localList, "b.gif"));
  EXPECT_GE(vako->RowOfName(localList, "with space.txt"), 0);
  ASSERT_EQ(Host("mkdir " + host + "/check && cd " + host + "/check && lhasa xq ../local/box.lzh && cmp ../src/b.gif b.gif && "
                 "cmp '../src/with space.txt' 'with space.txt' && cmp ../src/seed.txt seed.txt"),
            0);
  EXPECT_EQ(vako->Close(), 0);
}

TEST_F(ArchiveTest, DownloadIntoAndUploadFromTheArchiveAndTheSameWithoutLibraries) {
  ASSERT_EQ(Host("cd " + host + "/src && lha aq ../local/data.lzh * && head -c 200000 /dev/urandom > big.bin && "
                 "lha aq ../local/damaged.lzh big.bin && python3 -c \"p = '../local/damaged.lzh'; "
                 "d = bytearray(open(p, 'rb').read()); d[len(d) // 2] ^= 0xFF; open(p, 'wb').write(d)\""),
            0);
  ServerFile("got here.txt", "from the server\\r\\n");
  Start();
  Enter("data.lzh", "with space.txt");
  Select(remoteList, {"got here.txt"});
  EXPECT_EQ(RunJob(IDM_DOWNLOAD), Lines{Text(IDS_COMPLETED_RECEIVE)});
  ASSERT_TRUE(Shows(localList, "got here.txt"));
  EXPECT_NE(Lhasa("data.lzh").find("got here.txt"), std::string::npos);
  EXPECT_FALSE(FileExists(NewestWorkFolder() + "got here.txt"));

  Select(localList, {"with space.txt", "b.gif"});
  EXPECT_EQ(RunJob(IDM_UPLOAD), Lines{Text(IDS_COMPLETED_SEND)});
  EXPECT_EQ(Host("cmp " + host + "/src/b.gif '" + server + "/b.gif' && cmp '" + host + "/src/with space.txt' '" + server + "/with space.txt'"), 0);
  EXPECT_FALSE(FileExists(NewestWorkFolder() + "b.gif"));

  // A member whose data is damaged: nothing is sent, and the job says so.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  Enter("damaged.lzh", "big.bin");
  Select(localList, {"big.bin"});
  EXPECT_EQ(RunJob(IDM_UPLOAD), (Lines{Text(IDS_FAILED_SEND), Text(IDS_COMPLETED_SEND)}));
  EXPECT_EQ(Host("test -e '" + server + "/big.bin'"), 1);

  // Without the libraries: an empty archive view, an empty extraction folder, and a download
  // into the archive that cannot add the file is reported, not lost silently.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  ASSERT_TRUE(DeleteFileA((program.path() + "unlha32.dll").c_str()));
  ASSERT_TRUE(DeleteFileA((program.path() + "unzip32.dll").c_str()));
  ServerFile("remote.txt", "x");
  ASSERT_TRUE(vako->MakePaneActive(1));
  ASSERT_TRUE(vako->SendCommand(IDM_REFRESH));
  ASSERT_TRUE(Shows(remoteList, "remote.txt"));
  Enter("data.lzh", "");
  EXPECT_EQ(vako->RowCount(localList), 0);
  ASSERT_TRUE(vako->SendCommand(IDM_TEST_EXTRACT));
  EXPECT_EQ(Host("test -d " + host + "/test/data && test -z \"$(ls -A " + host + "/test/data)\""), 0);
  Select(remoteList, {"remote.txt"});
  EXPECT_EQ(RunJob(IDM_DOWNLOAD), (Lines{Text(IDS_FAILED_RECEIVE), Text(IDS_COMPLETED_RECEIVE)}));
  EXPECT_FALSE(FileExists(NewestWorkFolder() + "remote.txt"));
  ASSERT_TRUE(vako->MakePaneActive(0));
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  ASSERT_TRUE(Shows(localList, "data.lzh"));
  EXPECT_EQ(vako->Close(), 0);
}

}  // namespace
