// Archive mode of the real program, Japanese edition, with archives made by Debian's lha and
// zip and checked by lhasa: entering an .lzh and its rows, opening, renaming and deleting
// members (more than one delete command holds), Test Extract of LHA and ZIP, Compress Files
// and Compress Folder, download into and upload from an archive against vsftpd, a damaged
// member, and the same without the libraries.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
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

std::string ManyName(int i) {
  return "many member " + std::to_string(100 + i) + " with a long name to fill the command.txt";
}

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = "/tmp/vako-archive-" + std::to_string(GetCurrentProcessId()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(Host("rm -rf " + host + " && mkdir -p " + host + "/local " + host + "/test"), 0);
    local = testenv::WinePath(host + "/local") + "\\";
  }
  void TearDown() override {
    vako.reset();
    Host("rm -rf " + host + " " + testenv::Get("VAKO_VSFTPD_ROOT") + "/" + ServerFolderName());
  }

  std::string ServerFolderName() const { return host.substr(5); }
  std::string ServerPath(const std::string& name) const {
    return testenv::Get("VAKO_VSFTPD_ROOT") + "/" + ServerFolderName() + "/" + name;
  }
  int Host(const std::string& command) { return RunHostCommand(command); }
  std::string HostOutput(const std::string& command) {
    const std::string out = host + "-out";
    Host(command + " > " + out + " 2>&1");
    return ReadWholeFile(testenv::WinePath(out));
  }
  // lhasa's listing of an archive of the local folder.
  std::string Lhasa(const std::string& archive) { return HostOutput("lhasa l " + host + "/local/" + archive); }

  // The tree the archives are made of: a name with blanks, a member in a folder, a picture,
  // dated 1999-03-07 10:05. (Debian's jlha cannot read Shift-JIS file names: the program
  // itself renames a member to one.)
  void MakeSourceTree() {
    const std::string s = host + "/src";
    ASSERT_EQ(Host("mkdir -p " + s + "/docs && cd " + s + " && printf 'text one\\r\\n' > 'with space.txt' && "
                   "printf 'kanji\\r\\n' > memo.txt && printf 'in docs\\r\\n' > docs/a.txt && "
                   "head -c 3000 /dev/urandom > b.gif && printf opened > member.vakodata && "
                   "touch -d '1999-03-07 10:05' * docs/*"),
              0);
  }

  void Start(const Lines& settings = {}) {
    ASSERT_EQ(Host("mkdir -p " + testenv::Get("VAKO_VSFTPD_ROOT") + "/" + ServerFolderName() + " && chown -R " +
                   testenv::Get("VAKO_FTP_USER") + " " + testenv::Get("VAKO_VSFTPD_ROOT") + "/" + ServerFolderName()),
              0);
    std::string ini = "[Vako]\r\n";
    for (const std::string& line : settings) ini += line + "\r\n";
    ini += "InitialLocalFolder=" + local + "\r\nInitialRemoteFolder=" + ServerFolderName() +
           "\r\nTestFolder=" + testenv::WinePath(host + "/test") + "\r\nTestOpen=0\r\nYesNo=0\r\nOK=1\r\n" +
           "HostAddr=127.0.0.1\r\nUserID=" + testenv::Get("VAKO_FTP_USER") + "\r\nPort=" +
           testenv::Get("VAKO_VSFTPD_PORT") + "\r\n";
    WriteWholeFile(program.path() + "vako.ini", ini);
    vako.reset(new VakoProcess(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program.path()));
    ASSERT_TRUE(vako->started());
    ASSERT_NE(vako->WaitForMainWindow(), nullptr);
    localList = vako->Child(2000);
    remoteList = vako->Child(2100);
    ASSERT_TRUE(vako->ConnectThroughDialog(testenv::Get("VAKO_FTP_USER"), testenv::Get("VAKO_FTP_PASS")));
    ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "..") >= 0; }));
    ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "..") >= 0; }));
  }

  void OnPane(int pane) { ASSERT_TRUE(vako->MakePaneActive(pane)); }

  void Select(HWND list, const Lines& names) { ASSERT_TRUE(vako->SelectNames(list, names)); }

  void Enter(const std::string& archive, const std::string& rowToWaitFor) {
    OnPane(0);
    Select(localList, {archive});
    ASSERT_TRUE(vako->SendCommand(IDM_ENTER));
    if (!rowToWaitFor.empty()) {
      ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, rowToWaitFor) >= 0; }));
    }
  }

  // The next message box of the program, answered with OK; its text.
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
    do {
      texts.push_back(NextBox(120000));
    } while (texts.back() != Text(IDS_COMPLETED_SEND) && texts.back() != Text(IDS_COMPLETED_RECEIVE) &&
             texts.back() != "<no message>");
    EXPECT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_PREVIOUS_FOLDER) != TBSTATE_INDETERMINATE; }, 60000));
    return texts;
  }

  std::string host, local;
  TempFolder program;
  std::unique_ptr<VakoProcess> vako;
  HWND localList = nullptr, remoteList = nullptr;
};

TEST_F(ArchiveTest, BrowseOpenRenameAndDeleteMembers) {
  MakeSourceTree();
  std::string many;
  for (int i = 0; i < 20; ++i) many += " '" + ManyName(i) + "'";
  ASSERT_EQ(Host("cd " + host + "/src && for f in" + many + "; do echo $f > \"$f\"; done && lha aq ../local/data.lzh *"),
            0);
  Start();
  Enter("data.lzh", "docs/a.txt");

  // The rows against lhasa's own listing: every member, the folder part kept.
  const std::string oracle = Lhasa("data.lzh");
  const std::vector<ListRowView> rows = vako->Rows(localList);
  EXPECT_GE(rows.size(), 25u) << oracle;  // lha may store the folder docs as a member of its own
  for (const ListRowView& row : rows) EXPECT_NE(oracle.find(row.name()), std::string::npos) << row.name();
  auto row = [&](const std::string& name) {
    for (const ListRowView& r : rows)
      if (r.name() == name) return r;
    ADD_FAILURE() << name << " not listed";
    return ListRowView();
  };
  EXPECT_EQ(row("with space.txt").column[1], "10");
  EXPECT_EQ(row("with space.txt").column[2], "ASCII");
  EXPECT_EQ(row("with space.txt").column[3], "1999/03/07 10:05");
  EXPECT_EQ(row("memo.txt").column[1], "7");
  EXPECT_EQ(row("docs/a.txt").column[1], "9");
  EXPECT_EQ(row("b.gif").column[1], "3000");
  EXPECT_EQ(row("b.gif").column[2], "BINARY");
  EXPECT_GE(row("b.gif").key, 3000);
  // New Folder does nothing inside an archive.
  EXPECT_EQ(vako->ButtonState(IDM_PREVIOUS_FOLDER), TBSTATE_ENABLED);
  ASSERT_TRUE(vako->SendCommand(IDM_NEW_FOLDER));
  EXPECT_EQ(vako->RowCount(localList), static_cast<int>(rows.size()));

  // Open: the member goes to the work folder and to the shell, which has no program for it.
  Select(localList, {"member.vakodata"});
  vako->PostCommand(IDM_ENTER);
  EXPECT_EQ(NextBox(), Text(IDS_FAILED_SHELL_OPEN));
  EXPECT_EQ(ReadWholeFile(NewestWorkFolder() + "member.vakodata"), "opened");

  // Rename in place to a Shift-JIS name with a blank, then back again with F2's command,
  // whose new name the library asks for itself (here refused: the list stays).
  ASSERT_TRUE(vako->BeginEdit(localList, vako->RowOfName(localList, "memo.txt")));
  ASSERT_TRUE(vako->FinishEdit(localList, kSjisName));
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "memo.txt") < 0; }));
  EXPECT_GE(vako->RowOfName(localList, kSjisName), 0);
  // lhasa shows the name's bytes as '?': the stored name is looked for in the file itself.
  EXPECT_NE(ReadWholeFile(local + "data.lzh").find(kSjisName), std::string::npos);
  EXPECT_NE(Lhasa("data.lzh").find("?\\?? memo.txt"), std::string::npos);
  // A name the library would take for a switch is never sent: the member keeps its name.
  ASSERT_TRUE(vako->BeginEdit(localList, vako->RowOfName(localList, "b.gif")));
  ASSERT_TRUE(vako->FinishEdit(localList, "-x0"));
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "b.gif") >= 0; }));
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

  // Previous Folder closes the archive.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  EXPECT_GE(vako->RowOfName(localList, "data.lzh"), 0);
  EXPECT_LT(vako->RowOfName(localList, "docs/a.txt"), 0);
  EXPECT_EQ(vako->Close(), 0);
}

TEST_F(ArchiveTest, TestExtractOfLhaAndZipStaysInsideTheTestFolder) {
  MakeSourceTree();
  ASSERT_EQ(Host("cd " + host + "/src && lha aq ../local/tools.lzh * && zip -qr '../local/my pack.zip' . && "
                 "python3 -c \"import zipfile; z = zipfile.ZipFile('../local/my pack.zip', 'a'); "
                 "z.writestr('../escaped.txt', 'out'); z.close()\""),
            0);
  Start();
  Enter("tools.lzh", "docs/a.txt");
  ASSERT_TRUE(vako->SendCommand(IDM_TEST_EXTRACT));
  EXPECT_EQ(Host("cd " + host + " && diff -r src test/tools"), 0);
  // A second run finds the folder made and sends nothing.
  vako->PostCommand(IDM_TEST_EXTRACT);
  EXPECT_EQ(NextBox(), Text(IDS_FAILED_MAKE_FOLDER));

  // The context menu's Test Extract of a ZIP file (the menu leaves the file's name behind).
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  Select(localList, {"my pack.zip"});
  vako->PostCommand(IDM_OPEN);  // no program takes .zip here: the name stays behind all the same
  NextBox(5000);
  ASSERT_TRUE(vako->SendCommand(IDM_ARCHIVE_TEST_EXTRACT));
  EXPECT_EQ(Host("cd " + host + " && diff -r src 'test/my pack'"), 0);
  EXPECT_EQ(Host("test -e " + host + "/escaped.txt || test -e " + host + "/test/escaped.txt"), 1);
  EXPECT_EQ(vako->Close(), 0);
}

// The Open dialog takes the names typed into its name field.
void TypeIntoOpenDialog(HWND dialog, const std::string& text) {
  for (int id : {0x47C, 0x480}) VakoProcess::SetItemText(dialog, id, text);
  VakoProcess::PressButton(dialog, IDOK);
}

TEST_F(ArchiveTest, CompressFilesAndFolderIntoTheArchiveShown) {
  ASSERT_EQ(Host("mkdir -p " + host + "/src/site/img && cd " + host + "/src && echo one > 'in one.txt' && "
                 "echo two > 'in two.txt' && echo page > 'site/index.html' && head -c 2000 /dev/urandom > site/img/p.png && "
                 "cp -r site ../local/ && echo seed > seed.txt && lha aq ../local/box.lzh seed.txt && "
                 "cp 'in one.txt' 'in two.txt' ../local/"),
            0);
  Start({"LZHSys=1"});
  Enter("box.lzh", "seed.txt");

  vako->PostCommand(IDM_COMPRESS_FILES);
  HWND open = vako->WaitForDialog(20000, Text(IDS_COMPRESS_TITLE));
  ASSERT_NE(open, nullptr);
  TypeIntoOpenDialog(open, "\"in one.txt\" \"in two.txt\"");
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "in two.txt") >= 0; }));
  EXPECT_GE(vako->RowOfName(localList, "in one.txt"), 0);

  // The folder browser opens on the folder shown; the test picks its sub-folder "site".
  vako->PostCommand(IDM_COMPRESS_FOLDER);
  HWND browser = vako->WaitForDialog(20000);
  ASSERT_NE(browser, nullptr);
  HWND tree = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr)) != nullptr; }));
  HTREEITEM shown = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    shown = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    return shown != nullptr;
  }));
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(shown));
  const TreeNodeView* site = nullptr;
  TreeNodeView all;
  std::function<const TreeNodeView*(const TreeNodeView&)> find = [&](const TreeNodeView& node) -> const TreeNodeView* {
    if (node.text == "site") return &node;
    for (const TreeNodeView& child : node.children)
      if (const TreeNodeView* hit = find(child)) return hit;
    return nullptr;
  };
  ASSERT_TRUE(WaitUntil([&] {
    all = vako->Tree(tree);
    return (site = find(all)) != nullptr;
  }));
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(site->item));
  VakoProcess::PressButton(browser, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "site/img/p.png") >= 0; }));

  // lhasa finds every member whole, under the names it should have.
  EXPECT_EQ(Host("lhasa t " + host + "/local/box.lzh"), 0);
  const std::string listing = Lhasa("box.lzh");
  for (const char* name : {"seed.txt", "in one.txt", "in two.txt", "site/index.html", "site/img/p.png"})
    EXPECT_NE(listing.find(name), std::string::npos) << name << "\n" << listing;
  ASSERT_EQ(Host("mkdir " + host + "/check && cd " + host + "/check && lhasa xq ../local/box.lzh && diff -r ../src/site site"), 0);
  EXPECT_EQ(vako->Close(), 0);
}

TEST_F(ArchiveTest, DownloadIntoAndUploadFromTheArchive) {
  MakeSourceTree();
  ASSERT_EQ(Host("cd " + host + "/src && lha aq ../local/data.lzh * && head -c 200000 /dev/urandom > big.bin && "
                 "lha aq ../local/damaged.lzh big.bin && python3 -c \"p = '../local/damaged.lzh'; "
                 "d = bytearray(open(p, 'rb').read()); d[len(d) // 2] ^= 0xFF; open(p, 'wb').write(d)\""),
            0);
  Start();
  ASSERT_EQ(Host("printf 'from the server\\r\\n' > '" + ServerPath("got here.txt") + "' && chown " +
                 testenv::Get("VAKO_FTP_USER") + " '" + ServerPath("got here.txt") + "'"),
            0);
  OnPane(1);
  ASSERT_TRUE(vako->SendCommand(IDM_REFRESH));
  Enter("data.lzh", "with space.txt");

  OnPane(1);
  Select(remoteList, {"got here.txt"});
  EXPECT_EQ(RunJob(IDM_DOWNLOAD), Lines{Text(IDS_COMPLETED_RECEIVE)});
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "got here.txt") >= 0; }));
  EXPECT_NE(Lhasa("data.lzh").find("got here.txt"), std::string::npos);
  EXPECT_FALSE(FileExists(NewestWorkFolder() + "got here.txt"));

  OnPane(0);
  Select(localList, {"with space.txt", "b.gif"});
  EXPECT_EQ(RunJob(IDM_UPLOAD), Lines{Text(IDS_COMPLETED_SEND)});
  EXPECT_EQ(Host("cmp " + host + "/src/b.gif '" + ServerPath("b.gif") + "'"), 0);
  EXPECT_EQ(ReadWholeFile(testenv::WinePath(ServerPath("with space.txt"))).find("text one"), 0u);
  EXPECT_FALSE(FileExists(NewestWorkFolder() + "b.gif"));

  // A member whose data is damaged: nothing is sent, and the job says so.
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  Enter("damaged.lzh", "big.bin");
  Select(localList, {"big.bin"});
  EXPECT_EQ(RunJob(IDM_UPLOAD), (Lines{Text(IDS_FAILED_SEND), Text(IDS_COMPLETED_SEND)}));
  EXPECT_EQ(Host("test -e '" + ServerPath("big.bin") + "'"), 1);
  EXPECT_EQ(vako->Close(), 0);
}

TEST_F(ArchiveTest, WithoutTheLibrariesArchivesShowNothingAndNothingIsLost) {
  MakeSourceTree();
  ASSERT_EQ(Host("cd " + host + "/src && lha aq ../local/data.lzh *"), 0);
  Start();
  ASSERT_TRUE(DeleteFileA((program.path() + "unlha32.dll").c_str()));
  ASSERT_TRUE(DeleteFileA((program.path() + "unzip32.dll").c_str()));
  ASSERT_EQ(Host("printf 'x' > '" + ServerPath("remote.txt") + "' && chown " + testenv::Get("VAKO_FTP_USER") + " '" +
                 ServerPath("remote.txt") + "'"),
            0);
  OnPane(1);
  ASSERT_TRUE(vako->SendCommand(IDM_REFRESH));

  // Enter: archive mode with an empty list; Previous Folder brings the folder back.
  Enter("data.lzh", "");
  EXPECT_EQ(vako->RowCount(localList), 0);
  ASSERT_TRUE(vako->SendCommand(IDM_TEST_EXTRACT));  // an empty extraction folder, nothing else
  EXPECT_EQ(Host("test -d " + host + "/test/data && test -z \"$(ls -A " + host + "/test/data)\""), 0);

  // A download into the archive cannot add the file: reported, not lost silently.
  OnPane(1);
  Select(remoteList, {"remote.txt"});
  EXPECT_EQ(RunJob(IDM_DOWNLOAD), (Lines{Text(IDS_FAILED_RECEIVE), Text(IDS_COMPLETED_RECEIVE)}));
  EXPECT_FALSE(FileExists(NewestWorkFolder() + "remote.txt"));

  OnPane(0);
  ASSERT_TRUE(vako->SendCommand(IDM_PREVIOUS_FOLDER));
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "data.lzh") >= 0; }));
  EXPECT_EQ(vako->Close(), 0);
}

}  // namespace
