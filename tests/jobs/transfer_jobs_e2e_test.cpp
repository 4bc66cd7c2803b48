// The transfer jobs and file operations of the real program against real servers, seen on
// both disks: a whole tree downloaded, uploaded and mirrored on three servers; deletes, new
// entries, renames, permissions and Open; the kanji conversions; folders that
// cannot be entered or made; dropped files; mirroring beside a cut listing. With
// VAKO_JOBS_TLS=1 the vsftpd of every test is the one that requires explicit TLS.
#include <ostream>

#include "support/program_fixture_win.h"

namespace {

struct Server {
  const char* name;
  const char* portVariable;
  const char* rootVariable;
  bool storesLf;  // keeps a text sent in ASCII mode with LF line ends, and sends it with CR LF
  bool rawNames;  // stores a name as the bytes it was sent, Shift-JIS included
};
bool Tls() { return testenv::Get("VAKO_JOBS_TLS") == "1"; }
const Server kVsftpd = Tls() ? Server{"vsftpd", "VAKO_VSFTPD_TLS_PORT", "VAKO_VSFTPD_TLS_ROOT", false, true}
                             : Server{"vsftpd", "VAKO_VSFTPD_PORT", "VAKO_VSFTPD_ROOT", false, true};
const Server kPureFtpd{"pureftpd", "VAKO_PUREFTPD_PORT", "VAKO_PUREFTPD_ROOT", true, false};
const Server kPyftpdlib{"pyftpdlib", "VAKO_PYFTPD_PORT", "VAKO_PYFTPD_ROOT", true, false};
void PrintTo(const Server& server, std::ostream* out) { *out << server.name; }

// One entry of a tree, a folder when its path ends in '/'. Texts (*.txt, sent in ASCII mode)
// are written in their local form, with CR LF.
struct Entry {
  std::string path, content = "";
  bool folder() const { return path.back() == '/'; }
};
using Tree = std::vector<Entry>;

const std::string kSjisName = "\x95\x5c\x8e\xa6.txt";  // its second byte is a backslash
// Kanji, kana and ASCII in Shift-JIS, with CR LF, as a Windows editor writes them.
const std::string kSjisText =
    "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67\x82\xc5\x82\xb7\x81\x42\r\n"
    "\x8a\xbf\x8e\x9a\x81\x41\x82\xd0\x82\xe7\x82\xaa\x82\xc8\x81\x41\x83\x4a\x83\x5e\x83\x4a\x83\x69\x81\x41"
    "\x95\x5c\x8e\xa6\x82\xc6\x83\x5c\x83\x74\x83\x67\x81\x42\r\nASCII line 123\r\n";

// The whole suite runs twice: with active data connections, and with VAKO_PASSIVE=1.
bool Passive() { return testenv::Get("VAKO_PASSIVE") == "1"; }

// A line of tests/jobs/tree_manifest.py: "path/" for a folder, "path size crc32" for a file,
// bytes outside printable ASCII and the backslash as \xNN.
std::string ManifestLine(const std::string& path, const std::string* data) {
  std::string line;
  char hex[16];
  for (unsigned char b : path) {
    snprintf(hex, sizeof hex, "\\x%02x", b);
    line += b > 0x20 && b < 0x7F && b != 0x5C ? std::string(1, static_cast<char>(b)) : hex;
  }
  if (!data) return line;
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : *data) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  snprintf(hex, sizeof hex, "%08x", crc ^ 0xFFFFFFFFu);
  return line + " " + std::to_string(data->size()) + " " + hex;
}

// A tree as the server keeps it after an upload: texts with LF alone where it stores them so.
Tree ServerForm(const Server& server, Tree tree) {
  for (Entry& e : tree)
    if (server.storesLf && e.path.size() > 4 && e.path.substr(e.path.size() - 4) == ".txt")
      e.content.erase(std::remove(e.content.begin(), e.content.end(), '\r'), e.content.end());
  return tree;
}

Lines Manifest(const Tree& tree) {
  Lines lines;
  for (const Entry& e : tree) lines.push_back(ManifestLine(e.path, e.folder() ? nullptr : &e.content));
  return Sorted(lines);
}

Lines FilesOnly(Lines lines) {
  lines.erase(std::remove_if(lines.begin(), lines.end(), [](const std::string& l) { return l.back() == '/'; }),
              lines.end());
  return lines;
}

std::string HostTemp(const std::string& what) {
  return "/tmp/vako-jobs-" + std::to_string(GetCurrentProcessId()) + "-" + what;
}

// What Debian's nkf makes of the text with the option.
std::string Nkf(const std::string& option, const std::string& text) {
  WriteWholeFile(testenv::WinePath(HostTemp("nkf-in")), text);
  if (RunHostCommand("nkf " + option + " < " + HostTemp("nkf-in") + " > " + HostTemp("nkf-out")) != 0) return "<nkf failed>";
  return ReadWholeFile(testenv::WinePath(HostTemp("nkf-out")));
}

class JobsTest : public ProgramTest {
 protected:
  static void TearDownTestSuite() { RunHostCommand("rm -f " + HostTemp("*")); }

  // A folder below the server's root, as a Unix path.
  std::string ServerFolder(const Server& server, const std::string& folder) const {
    return testenv::Get(server.rootVariable) + "/" + folder;
  }
  std::string OnServer(const Server& server, const std::string& path) const {
    return testenv::WinePath(ServerFolder(server, path));
  }

  // Fills the folder below the server's root with the tree, owned by the login user, and
  // runs the command there afterwards (chmod and the like).
  void PutServerTree(const Server& server, const std::string& folder, const Tree& tree, const std::string& after = "") {
    const std::string root = ServerFolder(server, folder);
    std::string script = "mkdir -p '" + root + "' && cd '" + root + "'";
    for (size_t i = 0; i < tree.size(); ++i) {
      if (tree[i].folder()) {
        script += " && mkdir -p " + ShellWord(tree[i].path);
        continue;
      }
      const std::string staged = HostTemp("put" + std::to_string(i));
      WriteWholeFile(testenv::WinePath(staged), tree[i].content);
      script += " && mv " + staged + " " + ShellWord(tree[i].path);
    }
    script += " && chown -R " + testenv::Get("VAKO_FTP_USER") + " '" + root + "'";
    if (!after.empty()) script += " && " + after;
    ASSERT_EQ(Host(script), 0) << script;
  }

  void PutLocalTree(const std::string& folder, const Tree& tree) {
    for (const Entry& e : tree) {
      std::string path = folder + e.path;
      std::replace(path.begin(), path.end(), '/', '\\');
      if (e.folder())
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
      else
        WriteWholeFile(path, e.content);
    }
  }

  Lines ServerManifest(const Server& server, const std::string& folder) {
    const std::string out = HostTemp("manifest");
    const std::string script = testenv::Get("VAKO_SOURCE_DIR") + "/tests/jobs/tree_manifest.py";
    if (Host("/usr/bin/python3 '" + script + "' '" + ServerFolder(server, folder) + "' " + out) != 0)
      return {"<no manifest>"};
    Lines lines;
    const std::string text = ReadWholeFile(testenv::WinePath(out));
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }

  // Starts the program in the local folder and the server's sub-folder, with completion
  // messages shown; connected once the row is listed (not connected without one). Over TLS
  // the server's certificate is trusted as "always" would have stored it.
  void Start(const Server& server, const std::string& remoteFolder, const std::string& row, Lines settings = {}) {
    settings.insert(settings.end(), {"InitialRemoteFolder=" + remoteFolder, PortSetting(server.portVariable), "OK=1",
                                     Passive() ? "Pasv=1" : "", Tls() ? "Security=1" : ""});
    if (Tls()) {
      std::string fingerprint = testenv::Get("VAKO_TLS_FINGERPRINT");
      fingerprint.erase(std::remove(fingerprint.begin(), fingerprint.end(), ':'), fingerprint.end());
      otherSections = "[Certificates]\r\n127.0.0.1:" + testenv::Get(server.portVariable) + "=" + fingerprint + "\r\n";
    }
    ProgramTest::Start(settings);
    if (!row.empty()) Connect(row);
  }

  // Connects through the Connect dialog and waits for the row named in the start folder.
  void Connect(const std::string& rowToWaitFor) {
    ProgramTest::Connect();
    ASSERT_TRUE(WaitForRow(panes.remoteList, rowToWaitFor)) << Boxes();
  }

};

class TransferMatrix : public JobsTest, public ::testing::WithParamInterface<Server> {};

// Three levels, blanks and a Shift-JIS name, an empty file, several MiB, CR LF texts, bytes
// that ASCII mode would change, an empty folder.
TEST_P(TransferMatrix, DownloadUploadAndMirrorCarryTheWholeTree) {
  const Server& server = GetParam();
  Tree top = {{"top/"},
              {"top/with space.txt", "first line\r\nsecond line\r\n"},
              {"top/empty.bin", ""},
              {"top/big.dat", Noise(3 << 20)},
              {"top/sub one/"},
              {"top/sub one/notes.txt", "a\r\n\r\nb\r\n"},
              {"top/sub one/void/"},
              {"top/sub one/deeper/"},
              {"top/sub one/deeper/leaf.bin", std::string("\r\n\n\r\0\x1a\xff end", 11)}};
  if (server.rawNames) top.push_back({"top/" + kSjisName, "sjis\r\n"});
  PutServerTree(server, "matrix", ServerForm(server, top));
  Start(server, "matrix", "top");
  Select(1, {"top"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(FolderEntries(local.path(), ManifestLine), Manifest(top));

  // Upload into a server that no longer has the tree.
  ASSERT_EQ(Host("rm -rf '" + ServerFolder(server, "matrix") + "/top'"), 0);
  Refresh(1);
  ASSERT_TRUE(WaitForRow(panes.remoteList, "top", false));
  Select(0, {"top"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{ResourceText(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ServerManifest(server, "matrix"), Manifest(ServerForm(server, top)));

  // Mirroring: what only the server has goes, at every level; what both have stays and
  // takes the local content; what only the local side has arrives.
  const Tree added = {{"added.txt", "added\r\n"}, {"newdir/"}, {"newdir/inner.bin", "inner"}};
  PutLocalTree(local.path(), added);
  PutServerTree(server, "matrix",
                {{"old.html", "old"}, {"stale/"}, {"stale/x/"}, {"stale/x/y.txt", "y"}, {"top/gone.txt", "gone"},
                 {"top/sub one/deeper/gone.bin", "gone"}, {"top/with space.txt", "changed on the server"}});
  Refresh(0);
  Refresh(1);
  ASSERT_TRUE(WaitForRow(panes.remoteList, "stale"));
  ASSERT_TRUE(vako->MakePaneActive(0));
  EXPECT_EQ(Run(IDM_MIRROR_UPLOAD), Lines{ResourceText(IDS_COMPLETED_SEND)});
  top.insert(top.end(), added.begin(), added.end());
  EXPECT_EQ(ServerManifest(server, "matrix"), Manifest(ServerForm(server, top)));
  // The data connections went the way the run asked for.
  const std::string log = ReadWholeFile(NewestWorkFolder() + "ftplog.txt");
  EXPECT_EQ(log.find("EPSV\r\n229") != std::string::npos, Passive());
  EXPECT_EQ(log.find("PORT ") != std::string::npos, !Passive());
  EXPECT_EQ(log.find("PROT P\r\n200") != std::string::npos, Tls());
}

INSTANTIATE_TEST_SUITE_P(Servers, TransferMatrix, ::testing::Values(kVsftpd, kPureFtpd, kPyftpdlib),
                         [](const ::testing::TestParamInfo<Server>& info) { return std::string(info.param.name); });

TEST_F(JobsTest, DeleteNewRenameAndPermissionsOnBothSides) {
  PutServerTree(kVsftpd, "ops",
                {{"doomed/"}, {"doomed/a.txt", "a"}, {"doomed/inner/"}, {"doomed/inner/innermost/"},
                 {"doomed/inner/innermost/c.txt", "c"}, {"doomed.txt", "d"}, {"keep.txt", "keep"},
                 {"perm.sh", "#!/bin/sh\n"}, {"rename-me.txt", "r"}, {"opened.vakodata", "opened"}},
                "chmod 644 *.*");
  PutLocalTree(local.path(), {{"ldoomed/"}, {"ldoomed/in/"}, {"ldoomed/in/y.txt", "y"}, {"lrename.txt", "rename"}});
  Start(kVsftpd, "ops", "rename-me.txt");

  // Remote: a folder with two levels below it and a file, deleted together.
  Select(1, {"doomed", "doomed.txt"});
  EXPECT_EQ(Run(IDM_DELETE), Lines{ResourceText(IDS_COMPLETED_DELETE)});
  ASSERT_TRUE(WaitForRow(panes.remoteList, "doomed", false));
  // Open receives into the work folder, not the local one, and hands the file to the shell.
  Select(1, {"opened.vakodata"});
  EXPECT_EQ(Run(IDM_OPEN_REMOTE), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(WorkFolderCopies("opened.vakodata"), Lines{"opened"});
  EXPECT_FALSE(FileExists(local.path() + "opened.vakodata"));
  // A new folder takes the number of rows ("..", four files) for its name, then the typed one.
  ASSERT_TRUE(vako->SendCommand(IDM_NEW_FOLDER));
  EXPECT_EQ(Host("test -d '" + ServerFolder(kVsftpd, "ops") + "/folder5'"), 0);
  ASSERT_TRUE(TypeName(panes.remoteList, "fresh dir"));
  // Permissions of the selected file change on the server's disk; the others keep theirs.
  Select(1, {"perm.sh"});
  vako->PostCommand(IDM_CHANGE_ATTRIBUTES);
  HWND dialog = vako->WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  VakoProcess::SetItemText(dialog, IDC_PERMISSION_FIELD, "600");
  VakoProcess::PressButton(dialog, IDOK);
  const std::string modes = "cd '" + ServerFolder(kVsftpd, "ops") +
                            "' && [ \"$(stat -c %a perm.sh keep.txt | tr '\\n' ' ')\" = '600 644 ' ]";
  EXPECT_TRUE(WaitUntil([&] { return Host(modes) == 0; }));
  EXPECT_EQ(ServerManifest(kVsftpd, "ops"), Manifest({{"fresh dir/"}, {"keep.txt", "keep"}, {"perm.sh", "#!/bin/sh\n"},
                                                      {"rename-me.txt", "r"}, {"opened.vakodata", "opened"}}));

  // Local: the same on the local disk.
  Select(0, {"ldoomed"});
  ASSERT_TRUE(vako->SendCommand(IDM_DELETE));
  ASSERT_TRUE(WaitForRow(panes.localList, "ldoomed", false));
  ASSERT_TRUE(vako->SendCommand(IDM_NEW_FOLDER));
  ASSERT_TRUE(TypeName(panes.localList, "new folder"));
  ASSERT_TRUE(vako->SendCommand(IDM_NEW_FILE));
  ASSERT_TRUE(TypeName(panes.localList, "new.txt"));
  Select(0, {"lrename.txt"});
  ASSERT_TRUE(vako->SendCommand(IDM_RENAME));
  ASSERT_TRUE(TypeName(panes.localList, "renamed local.txt"));
  EXPECT_EQ(FolderEntries(local.path(), ManifestLine), Manifest({{"new folder/"}, {"new.txt", ""}, {"renamed local.txt", "rename"}}));
}

// ASCII-mode files are converted by nkf32.dll exactly as nkf converts them; binary files
// never, nor text files holding zero bytes (UTF-16, a compiled program), which arrive byte
// for byte. A retrieve that fails leaves the earlier local file as it was, unconverted.
TEST_F(JobsTest, KanjiCodesAsNkfConvertsThem) {
  const std::string euc = Nkf("-e", kSjisText), earlier = "earlier\r\n" + euc;
  const std::string utf16("\xff\xfe\xe5\x65\x2c\x67h\0i\0", 10), program("\x7f" "ELF\x02\x01\x01\0\0\0\x88\x9f", 12);
  PutServerTree(kVsftpd, "kanji", {{"euc-down.txt", euc}, {"euc.jpg", euc}, {"locked.txt", euc}, {"run.cgi", program}},
                "chmod 000 locked.txt");
  PutLocalTree(local.path(), {{"sjis-up.txt", kSjisText}, {"sjis-jis.txt", kSjisText}, {"photo.jpg", kSjisText},
                              {"locked.txt", earlier}, {"utf16.txt", utf16}});
  Start(kVsftpd, "kanji", "locked.txt", {"NKFUp=1"});
  Select(0, {"sjis-up.txt", "photo.jpg", "utf16.txt"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{ResourceText(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ReadWholeFile(OnServer(kVsftpd, "kanji/sjis-up.txt")), euc);
  EXPECT_EQ(ReadWholeFile(OnServer(kVsftpd, "kanji/photo.jpg")), kSjisText);
  EXPECT_EQ(ReadWholeFile(OnServer(kVsftpd, "kanji/utf16.txt")), utf16);
  EXPECT_EQ(ReadWholeFile(local.path() + "sjis-up.txt"), kSjisText);
  ASSERT_TRUE(vako->SendCommand(IDM_TO_JIS));
  Select(0, {"sjis-jis.txt"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{ResourceText(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ReadWholeFile(OnServer(kVsftpd, "kanji/sjis-jis.txt")), Nkf("-j", kSjisText));

  ASSERT_TRUE(vako->SendCommand(IDM_NKF_DOWN));
  Select(1, {"euc-down.txt", "euc.jpg", "locked.txt"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), (Lines{ResourceText(IDS_FAILED_RECEIVE), ResourceText(IDS_COMPLETED_RECEIVE)}));
  EXPECT_EQ(ReadWholeFile(local.path() + "euc-down.txt"), Nkf("-s", euc));
  EXPECT_EQ(ReadWholeFile(local.path() + "euc.jpg"), euc);
  EXPECT_EQ(ReadWholeFile(local.path() + "locked.txt"), earlier);
  Select(1, {"run.cgi"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), (Lines{ResourceText(IDS_FAILED_CONVERT), ResourceText(IDS_COMPLETED_RECEIVE)}));
  EXPECT_EQ(ReadWholeFile(local.path() + "run.cgi"), program);
}

// A listing cut at its size limit shows only part of the folder: mirroring an empty local
// folder onto it deletes nothing there, and says why once.
TEST_F(JobsTest, MirroringBesideACutListingDeletesNothing) {
  Start(kVsftpd, "/", "", {"Port=" + std::to_string(testenv::ScriptedPort("hugelisting"))});
  ASSERT_TRUE(vako->ConnectThroughDialog("anyone", "x"));
  EXPECT_EQ(AnswerBox(60000), ResourceText(IDS_OUT_OF_MEMORY));
  ASSERT_TRUE(WaitForRow(panes.remoteList, "file0000000.txt")) << Boxes();
  // The job's end lists the folder again, which is cut again; the completion comes after.
  vako->PostCommand(IDM_MIRROR_UPLOAD);
  Lines texts;
  for (int i = 0; i < 3; ++i) texts.push_back(AnswerBox(60000));
  EXPECT_EQ(texts, (Lines{ResourceText(IDS_KEPT_UNLISTED_FOLDER, "/"), ResourceText(IDS_OUT_OF_MEMORY), ResourceText(IDS_COMPLETED_SEND)}));
  EXPECT_GE(vako->RowOfName(panes.remoteList, "file0000000.txt"), 0);
}

// Download: a remote folder that cannot be entered (110) and a local folder that cannot be
// made because a file has its name (111) are told once each and skipped; their files land
// nowhere else. Upload: a remote folder that cannot be entered or made receives nothing,
// and nothing of it lands in another folder.
TEST_F(JobsTest, FoldersThatCannotBeEnteredOrMadeAreSkipped) {
  PutServerTree(kVsftpd, "skips",
                {{"D/"}, {"D/a.txt", "remote a"}, {"D/clash/"}, {"D/clash/h.txt", "h"}, {"D/locked/"},
                 {"D/locked/f.txt", "f"}, {"D/open/"}, {"D/open/g.txt", "g"}, {"U/"}, {"U/sub", "a remote file"},
                 {"U/locked/"}},
                "chmod 000 D/locked U/locked");
  PutLocalTree(local.path(), {{"D/"}, {"D/clash", "local clash"}, {"D/h.txt", "LOCAL"}, {"U/"}, {"U/a.txt", "a"},
                              {"U/sub/"}, {"U/sub/s.txt", "s"}, {"U/locked/"}, {"U/locked/l.txt", "l"}});
  Start(kVsftpd, "skips", "U");
  Select(1, {"D"});
  EXPECT_EQ(Sorted(Run(IDM_DOWNLOAD)), Sorted({ResourceText(IDS_SKIPPED_LOCAL_FOLDER, "clash"),
                                               ResourceText(IDS_SKIPPED_REMOTE_FOLDER, "locked"), ResourceText(IDS_COMPLETED_RECEIVE)}));
  EXPECT_EQ(FilesOnly(FolderEntries(local.path() + "D\\", ManifestLine)),
            Manifest({{"a.txt", "remote a"}, {"clash", "local clash"}, {"h.txt", "LOCAL"}, {"open/g.txt", "g"}}));
  Select(0, {"U"});
  EXPECT_EQ(Sorted(Run(IDM_UPLOAD)), Sorted({ResourceText(IDS_SKIPPED_REMOTE_FOLDER, "sub"),
                                             ResourceText(IDS_SKIPPED_REMOTE_FOLDER, "locked"), ResourceText(IDS_COMPLETED_SEND)}));
  EXPECT_EQ(FilesOnly(ServerManifest(kVsftpd, "skips")),
            Manifest({{"D/a.txt", "remote a"}, {"D/clash/h.txt", "h"}, {"D/locked/f.txt", "f"}, {"D/open/g.txt", "g"},
                      {"U/a.txt", "a"}, {"U/sub", "a remote file"}}));
}

// Files dropped from the shell: on the remote pane without a connection, one message for
// the whole drop; once connected, files and folders go to the server; on the local pane
// they are copied into the folder shown.
TEST_F(JobsTest, DroppedFiles) {
  TempFolder shell;
  const Tree dropped = {{"a.txt", "a\r\n"}, {"b.bin", "b"}, {"dropdir/"}, {"dropdir/inner/"}, {"dropdir/inner/c.txt", "c\r\n"}};
  PutLocalTree(shell.path(), dropped);
  PutServerTree(kVsftpd, "drop", {});
  Start(kVsftpd, "drop", "");
  const Lines paths = {shell.path() + "a.txt", shell.path() + "b.bin", shell.path() + "dropdir"};
  ASSERT_TRUE(vako->DropFiles(Center(vako->ChildRect(panes.remoteList)), paths));
  EXPECT_EQ(AnswerBox(60000), ResourceText(IDS_DROP_NOT_CONNECTED));
  ASSERT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_PREVIOUS_FOLDER) == TBSTATE_ENABLED; }));
  EXPECT_EQ(Boxes(), "");

  Connect("..");
  ASSERT_TRUE(vako->DropFiles(Center(vako->ChildRect(panes.remoteList)), paths));
  EXPECT_EQ(Run(0), Lines{ResourceText(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ServerManifest(kVsftpd, "drop"), Manifest(dropped));
  ASSERT_TRUE(vako->DropFiles(Center(vako->ChildRect(panes.localList)), {shell.path() + "b.bin"}));
  EXPECT_EQ(Run(0), Lines{ResourceText(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ReadWholeFile(local.path() + "b.bin"), "b");
}

// "CompareDate" and "CompareDate2" compare the Date texts; "CapitalMode" 0 sends lower-case
// names, which mirroring takes as the counterparts of the local names.
TEST_F(JobsTest, DatesDecideWhatIsSentAndNamesGoLowerCase) {
  PutServerTree(kVsftpd, "rules",
                {{"old.txt", "remote old\r\n"}, {"new.txt", "remote new\r\n"}, {"d-old.txt", "server old\r\n"},
                 {"d-new.txt", "server new\r\n"}, {"MiXed.TXT", "mixed\r\n"}},
                "touch -d '2005-01-01 12:00' old.txt new.txt MiXed.TXT && touch -d '2001-01-01 12:00' d-old.txt && "
                "touch -d '2010-01-01 12:00' d-new.txt");
  PutLocalTree(local.path(), {{"OLD.TXT", "local old\r\n"}, {"NEW.TXT", "local new\r\n"}, {"HTML/"},
                              {"HTML/INDEX.HTML", "<p>\r\n"}, {"d-old.txt", "local d-old\r\n"}, {"d-new.txt", "local d-new\r\n"}});
  for (auto [name, year] : {std::pair<const char*, WORD>{"OLD.TXT", 2001}, {"NEW.TXT", 2010}, {"d-old.txt", 2005},
                            {"d-new.txt", 2005}}) {
    SYSTEMTIME time{year, 1, 0, 1, 12, 0, 0, 0};
    FILETIME stamp;
    SystemTimeToFileTime(&time, &stamp);
    HANDLE f = CreateFileA((local.path() + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(f, nullptr, nullptr, &stamp);
    CloseHandle(f);
  }
  Start(kVsftpd, "rules", "MiXed.TXT", {"CompareDate=1", "CompareDate2=1", "CapitalMode=0"});
  Select(0, {"OLD.TXT", "NEW.TXT", "HTML"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{ResourceText(IDS_COMPLETED_SEND)});
  Tree server = {{"d-new.txt", "server new\r\n"}, {"d-old.txt", "server old\r\n"}, {"MiXed.TXT", "mixed\r\n"},
                 {"old.txt", "remote old\r\n"},   {"new.txt", "local new\r\n"},     {"html/"},
                 {"html/index.html", "<p>\r\n"}};
  EXPECT_EQ(ServerManifest(kVsftpd, "rules"), Manifest(server));

  Select(1, {"d-old.txt", "d-new.txt", "MiXed.TXT"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(ReadWholeFile(local.path() + "d-old.txt"), "local d-old\r\n");
  EXPECT_EQ(ReadWholeFile(local.path() + "d-new.txt"), "server new\r\n");
  const Lines files = FolderEntries(local.path(), ManifestLine);  // downloads keep the server's case
  EXPECT_NE(std::find(files.begin(), files.end(), ManifestLine("MiXed.TXT", &server[2].content)), files.end());

  // Mirroring: an older local file is not sent, yet stays; a remote name that is a
  // counterpart only by case goes.
  PutServerTree(kVsftpd, "rules", {{"html/INDEX.HTML", "upper"}});
  Refresh(1);
  Refresh(0);
  EXPECT_EQ(Run(IDM_MIRROR_UPLOAD), Lines{ResourceText(IDS_COMPLETED_SEND)});
  server[0] = {"d-old.txt", "local d-old\r\n"};
  server[1] = {"d-new.txt", "server new\r\n"};
  server[2] = {"mixed.txt", "mixed\r\n"};
  EXPECT_EQ(ServerManifest(kVsftpd, "rules"), Manifest(server));
}

// Two remote names differing in letter case alone name one local file: the second is not
// received over the first, and the user is told which.
TEST_F(JobsTest, NamesDifferingInCaseAloneAreNotReceivedOverEachOther) {
  PutServerTree(kVsftpd, "twins", {{"a.bin", "lower"}, {"A.BIN", "upper"}});
  Start(kVsftpd, "twins", "A.BIN");
  Select(1, {"a.bin", "A.BIN"});
  const bool lowerFirst = vako->RowOfName(panes.remoteList, "a.bin") < vako->RowOfName(panes.remoteList, "A.BIN");
  EXPECT_EQ(Run(IDM_DOWNLOAD), (Lines{ResourceText(IDS_SKIPPED_CASE_TWIN, lowerFirst ? "A.BIN" : "a.bin"),
                                      ResourceText(IDS_COMPLETED_RECEIVE)}));
  EXPECT_EQ(ReadWholeFile(local.path() + "a.bin"), lowerFirst ? "lower" : "upper");
}

// Folders differing in letter case alone are one local folder: what the second brings is
// not received over what the first brought, however deep (the job lets go of the names of
// the folders it has left, but not of these).
TEST_F(JobsTest, FoldersDifferingInCaseAloneAreNotReceivedOverEachOther) {
  PutServerTree(kVsftpd, "twindirs",
                {{"Sub/"}, {"Sub/deep/"}, {"Sub/deep/x.bin", "upper"}, {"sub/"}, {"sub/deep/"}, {"sub/deep/x.bin", "lower"}});
  Start(kVsftpd, "twindirs", "sub", {"YesNo=0"});
  Select(1, {"Sub", "sub"});
  const bool upperFirst = vako->RowOfName(panes.remoteList, "Sub") < vako->RowOfName(panes.remoteList, "sub");
  EXPECT_EQ(Run(IDM_DOWNLOAD), (Lines{ResourceText(IDS_SKIPPED_CASE_TWIN, "x.bin"), ResourceText(IDS_COMPLETED_RECEIVE)}));
  EXPECT_EQ(ReadWholeFile(local.path() + "sub\\deep\\x.bin"), upperFirst ? "upper" : "lower");
}

// Links back to the folder itself and to the one above (their targets dotless, so that the
// list shows them as folders) lead where the walk has been: the tree arrives once, in
// bounded time, and the links make no local folders.
TEST_F(JobsTest, LinksBackUpTheTreeAreWalkedOnce) {
  const std::string alias = "/tmp/vakoloops" + std::to_string(GetCurrentProcessId());
  PutServerTree(kVsftpd, "loops", {{"top/"}, {"top/a.txt", "a"}, {"top/sub/"}, {"top/sub/b.bin", "b"}},
                "ln -sfn \"$PWD\" " + alias + " && ln -s " + alias + "/top top/self && ln -s " + alias +
                    "/top top/sub/up");
  Start(kVsftpd, "loops", "top");
  Select(1, {"top"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(FolderEntries(local.path(), ManifestLine),
            Manifest({{"top/"}, {"top/a.txt", "a"}, {"top/sub/"}, {"top/sub/b.bin", "b"}}));
  Host("rm -f " + alias);
}

// A job's thread says its last word after the job has ended: a job asked for while the
// last one's message still shows starts all the same, and both messages are there to
// answer; the job after them runs as ever.
TEST_F(JobsTest, AJobStartsWhileTheLastOneStillShowsItsMessage) {
  PutServerTree(kVsftpd, "twice", {{"a.txt", "first"}, {"b.txt", "second"}});
  Start(kVsftpd, "twice", "b.txt");
  Select(1, {"a.txt"});
  vako->PostCommand(IDM_DOWNLOAD);
  HWND first = vako->WaitForDialog(60000, VAKO_CAPTION);
  ASSERT_NE(first, nullptr) << Boxes();
  ASSERT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_PREVIOUS_FOLDER) != TBSTATE_INDETERMINATE; }, 60000));
  Select(1, {"b.txt"});
  vako->PostCommand(IDM_DOWNLOAD);
  ASSERT_TRUE(WaitUntil([&] { return WindowsOfProcess(vako->processId(), "#32770").size() == 2; }, 60000)) << Boxes();
  EXPECT_EQ(AnswerBox(), ResourceText(IDS_COMPLETED_RECEIVE));
  EXPECT_EQ(AnswerBox(), ResourceText(IDS_COMPLETED_RECEIVE));
  EXPECT_EQ(ReadWholeFile(local.path() + "a.txt"), "first");
  EXPECT_EQ(ReadWholeFile(local.path() + "b.txt"), "second");
  DeleteFileA((local.path() + "a.txt").c_str());
  Select(1, {"a.txt"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(ReadWholeFile(local.path() + "a.txt"), "first");
}

// Stop in the middle of a large download: the program stays connected and answers, what
// came waits as a partial file beside the target, and the next download of that file goes
// on from it with REST and ends byte-exact.
TEST_F(JobsTest, StopLeavesTheSessionReady) {
  const size_t size = 8u << 20;
  PutServerTree(kVsftpd, "stop", {{"small.bin", Noise(100000)}},
                "head -c " + std::to_string(size) + " /dev/urandom > big.bin && chown " +
                    testenv::Get("VAKO_FTP_USER") + " big.bin");
  // Small pieces make the transfer last: under Wine every receive call has its cost.
  Start(kVsftpd, "stop", "big.bin", {"ReceiveBuf=256"});
  Select(1, {"big.bin"});
  vako->PostCommand(IDM_DOWNLOAD);
  HWND progress = FindWindowExA(vako->Child(2020), nullptr, PROGRESS_CLASSA, nullptr);
  ASSERT_NE(progress, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(progress, PBM_GETPOS, 0, 0) > 0; }, 60000)) << Boxes();
  // A stopped job says so, once the lists show what it left.
  vako->PostCommand(IDM_STOP);
  ASSERT_NE(vako->WaitForDialog(60000, VAKO_CAPTION), nullptr);
  EXPECT_GE(vako->RowOfName(panes.localList, "big.bin.vkpart"), 0);
  EXPECT_EQ(Run(0), Lines{ResourceText(IDS_JOB_STOPPED)});
  const size_t part = ReadWholeFile(local.path() + "big.bin.vkpart").size();
  EXPECT_LT(part, size);
  EXPECT_FALSE(FileExists(local.path() + "big.bin"));
  EXPECT_EQ(vako->ButtonState(IDM_DISCONNECT), TBSTATE_ENABLED);
  Select(1, {"small.bin", "big.bin"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_TRUE(ReadWholeFile(local.path() + "small.bin") == Noise(100000));
  EXPECT_TRUE(ReadWholeFile(local.path() + "big.bin") ==
              ReadWholeFile(OnServer(kVsftpd, "stop/big.bin")));
  EXPECT_FALSE(FileExists(local.path() + "big.bin.vkpart"));
  const std::string log = ReadWholeFile(NewestWorkFolder() + "ftplog.txt");
  EXPECT_NE(log.find("REST " + std::to_string(part) + "\r\n350"), std::string::npos);
}

// Closing during a download asks first. No, to the window's close and to Alt+F4, and the
// file arrives whole; yes, and the job stops as Stop does and the program ends.
TEST_F(JobsTest, ClosingDuringAJobAsksFirst) {
  const size_t size = 24u << 20;
  PutServerTree(kVsftpd, "close", {},
                "head -c " + std::to_string(size) + " /dev/urandom > big.bin && chown " +
                    testenv::Get("VAKO_FTP_USER") + " big.bin");
  Start(kVsftpd, "close", "big.bin", {"ReceiveBuf=256"});
  HWND progress = FindWindowExA(vako->Child(2020), nullptr, PROGRESS_CLASSA, nullptr);
  auto download = [&] {
    Select(1, {"big.bin"});
    vako->PostCommand(IDM_DOWNLOAD);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(progress, PBM_GETPOS, 0, 0) > 0; }, 60000)) << Boxes();
  };
  auto answerClose = [&](int answer) {
    HWND box = vako->WaitForDialog(20000, VAKO_CAPTION);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(VakoProcess::BoxText(box), ResourceText(IDS_ASK_STOP_AND_CLOSE));
    VakoProcess::PressButton(box, answer);
    WaitUntil([&] { return !IsWindow(box); });
  };
  download();
  PostMessageA(vako->window(), WM_CLOSE, 0, 0);
  answerClose(IDNO);
  PostMessageA(vako->window(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
  PostMessageA(vako->window(), WM_SYSKEYUP, VK_F4, (1 << 29) | (3u << 30));
  answerClose(IDNO);
  EXPECT_EQ(Run(0), Lines{ResourceText(IDS_COMPLETED_RECEIVE)});
  EXPECT_TRUE(ReadWholeFile(local.path() + "big.bin") == ReadWholeFile(OnServer(kVsftpd, "close/big.bin")));

  DeleteFileA((local.path() + "big.bin").c_str());
  download();
  PostMessageA(vako->window(), WM_CLOSE, 0, 0);
  answerClose(IDYES);
  EXPECT_EQ(vako->WaitForExit(60000), 0) << Boxes();
  EXPECT_FALSE(FileExists(local.path() + "big.bin"));  // what came waits as a partial file
  EXPECT_LT(ReadWholeFile(local.path() + "big.bin.vkpart").size(), size);
  EXPECT_TRUE(FileExists(local.path() + "big.bin.vkpart.txt"));
}

}  // namespace
