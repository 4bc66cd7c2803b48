// The transfer jobs and file operations of the real program against real servers, seen on
// both disks: a whole tree downloaded, uploaded and mirrored on three servers; deletes, new
// entries, renames, permissions and Open; the date, name-case and kanji rules; folders that
// cannot be entered or made; dropped files; a download stopped halfway.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <ostream>

#include "resources/resource_ids.h"
#include "support/e2e_driver_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

struct Server {
  const char* name;
  const char* portVariable;
  const char* rootVariable;
  bool storesLf;  // keeps a text sent in ASCII mode with LF line ends, and sends it with CR LF
  bool rawNames;  // stores a name as the bytes it was sent, Shift-JIS included
};
const Server kVsftpd{"vsftpd", "VAKO_VSFTPD_PORT", "VAKO_VSFTPD_ROOT", false, true};
const Server kPureFtpd{"pureftpd", "VAKO_PUREFTPD_PORT", "VAKO_PUREFTPD_ROOT", true, false};
const Server kPyftpdlib{"pyftpdlib", "VAKO_PYFTPD_PORT", "VAKO_PYFTPD_ROOT", true, false};
void PrintTo(const Server& server, std::ostream* out) { *out << server.name; }

// One entry of a tree, a folder when its path ends in '/'. Texts (*.txt, sent in ASCII mode)
// are written in their local form, with CR LF.
struct Entry {
  std::string path, content = "";
  bool folder() const { return path.back() == '/'; }
  bool text() const { return path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0; }
};
using Tree = std::vector<Entry>;
using Lines = std::vector<std::string>;

const std::string kSjisName = "\x95\x5c\x8e\xa6.txt";  // its second byte is a backslash
// Kanji, kana and ASCII in Shift-JIS, with CR LF, as a Windows editor writes them.
const std::string kSjisText =
    "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67\x82\xc5\x82\xb7\x81\x42\r\n"
    "\x8a\xbf\x8e\x9a\x81\x41\x82\xd0\x82\xe7\x82\xaa\x82\xc8\x81\x41\x83\x4a\x83\x5e\x83\x4a\x83\x69\x81\x41"
    "\x95\x5c\x8e\xa6\x82\xc6\x83\x5c\x83\x74\x83\x67\x81\x42\r\nASCII line 123\r\n";

// The whole suite runs twice: with active data connections, and with VAKO_PASSIVE=1 with
// passive ones.
bool Passive() { return testenv::Get("VAKO_PASSIVE") == "1"; }

std::string Text(int id) {
  char text[512] = "";
  LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
  return text;
}

std::string Formatted(int id, const std::string& value) {
  std::string text = Text(id);
  size_t at = text.find("%s");
  if (at == std::string::npos) at = text.find("%d");
  return at == std::string::npos ? text : text.replace(at, 2, value);
}

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::string Noise(size_t size, uint32_t seed) {
  std::string data(size, '\0');
  for (char& c : data) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 23);
  }
  return data;
}

uint32_t Crc32(const std::string& data) {
  static uint32_t table[256];
  if (!table[1])
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : data) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

// The lines of tests/jobs/tree_manifest.py: "path/" for a folder, "path size crc32" for a file.
std::string Escape(const std::string& raw) {
  std::string out;
  char hex[8];
  for (unsigned char b : raw) {
    if (b > 0x20 && b < 0x7F && b != 0x5C) {
      out += static_cast<char>(b);
    } else {
      snprintf(hex, sizeof hex, "\\x%02x", b);
      out += hex;
    }
  }
  return out;
}

std::string FileLine(const std::string& path, const std::string& data) {
  char tail[40];
  snprintf(tail, sizeof tail, " %zu %08x", data.size(), Crc32(data));
  return Escape(path) + tail;
}

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// A tree as the server keeps it after an upload in the modes the rules choose.
Tree ServerForm(const Server& server, Tree tree) {
  for (Entry& e : tree)
    if (server.storesLf && e.text()) e.content = WithoutCarriageReturns(e.content);
  return tree;
}

Lines Manifest(const Tree& tree) {
  Lines lines;
  for (const Entry& e : tree) lines.push_back(e.folder() ? Escape(e.path) : FileLine(e.path, e.content));
  return Sorted(lines);
}

Lines FilesOnly(Lines lines) {
  lines.erase(std::remove_if(lines.begin(), lines.end(), [](const std::string& l) { return l.back() == '/'; }),
              lines.end());
  return lines;
}

void AddLocalLines(const std::string& folder, const std::string& prefix, Lines& lines) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      lines.push_back(Escape(prefix + name) + "/");
      AddLocalLines(folder + name + "\\", prefix + name + "/", lines);
    } else {
      lines.push_back(FileLine(prefix + name, ReadWholeFile(folder + name)));
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// What a local folder (ending in a backslash) holds, in manifest lines.
Lines LocalManifest(const std::string& folder) {
  Lines lines;
  AddLocalLines(folder, "", lines);
  return Sorted(lines);
}

// A word for /bin/sh made of any bytes: octal escapes through printf.
std::string ShellWord(const std::string& bytes) {
  std::string format;
  char octal[8];
  for (unsigned char b : bytes) {
    snprintf(octal, sizeof octal, "\\%03o", b);
    format += octal;
  }
  return "\"$(printf '" + format + "')\"";
}

std::string HostTemp(const std::string& what) {
  return "/tmp/vako-jobs-" + std::to_string(GetCurrentProcessId()) + "-" + what;
}

// Files with dates: a year at noon, on both sides.
void SetLocalYear(const std::string& path, int year) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = 1;
  time.wDay = 1;
  time.wHour = 12;
  FILETIME stamp;
  SystemTimeToFileTime(&time, &stamp);
  HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
  SetFileTime(f, nullptr, nullptr, &stamp);
  CloseHandle(f);
}

// What Debian's nkf makes of the text with the option.
std::string Nkf(const std::string& option, const std::string& text) {
  WriteWholeFile(testenv::WinePath(HostTemp("nkf-in")), text);
  if (RunHostCommand("nkf " + option + " < " + HostTemp("nkf-in") + " > " + HostTemp("nkf-out")) != 0) return "<nkf failed>";
  return ReadWholeFile(testenv::WinePath(HostTemp("nkf-out")));
}

class JobsTest : public ::testing::Test {
 protected:
  static void TearDownTestSuite() { RunHostCommand("rm -f " + HostTemp("*")); }

  // A folder below the server's root, as a Unix path.
  std::string ServerFolder(const Server& server, const std::string& folder) const {
    return testenv::Get(server.rootVariable) + "/" + folder;
  }

  int Host(const std::string& command) { return RunHostCommand(command); }

  // Fills the folder below the server's root with the tree, owned by the login user, and
  // runs the command there afterwards (chmod and the like).
  void PutServerTree(const Server& server, const std::string& folder, const Tree& tree, const std::string& after = "") {
    const std::string root = ServerFolder(server, folder);
    std::string script = "mkdir -p '" + root + "' && cd '" + root + "'";
    for (size_t i = 0; i < tree.size(); ++i) {
      const Entry& e = tree[i];
      if (e.folder()) {
        script += " && mkdir -p " + ShellWord(e.path);
      } else {
        const std::string staged = HostTemp("put" + std::to_string(i));
        WriteWholeFile(testenv::WinePath(staged), e.content);
        script += " && mv " + staged + " " + ShellWord(e.path);
      }
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
    std::string text = ReadWholeFile(testenv::WinePath(out));
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }

  std::string OnServer(const Server& server, const std::string& path) const {
    return testenv::WinePath(testenv::Get(server.rootVariable) + "/" + path);
  }

  // Starts the program in the local folder and the server's sub-folder; the settings come
  // before the defaults of these tests (no questions, completion messages shown).
  void Start(const Server& server, const std::string& remoteFolder, const Lines& settings = {}) {
    std::string ini = "[Vako]\r\n";
    if (Passive()) ini += "Pasv=1\r\n";
    for (const std::string& line : settings) ini += line + "\r\n";
    ini += "InitialLocalFolder=" + local.path() + "\r\nInitialRemoteFolder=" + remoteFolder +
           "\r\nHostAddr=127.0.0.1\r\nUserID=" + testenv::Get("VAKO_FTP_USER") + "\r\nPort=" +
           testenv::Get(server.portVariable) + "\r\nYesNo=0\r\nOK=1\r\n";
    WriteWholeFile(program.path() + "vako.ini", ini);
    vako.reset(new VakoProcess(testenv::WinePath(::testing::internal::GetArgvs().at(1)), program.path()));
    ASSERT_TRUE(vako->started());
    ASSERT_NE(vako->WaitForMainWindow(), nullptr);
    localList = vako->Child(2000);
    remoteList = vako->Child(2100);
  }

  // Connects through the Connect dialog and waits for the row named in the start folder.
  void Connect(const std::string& rowToWaitFor) {
    ASSERT_TRUE(vako->ConnectThroughDialog(testenv::Get("VAKO_FTP_USER"), testenv::Get("VAKO_FTP_PASS")));
    ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, rowToWaitFor) >= 0; })) << Boxes();
  }

  std::string Boxes() {
    std::string texts;
    for (HWND box : WindowsOfProcess(vako->processId(), "#32770")) texts += " [" + VakoProcess::BoxText(box) + "]";
    return texts;
  }

  // Carries out the command (none for 0) and answers every message on the way up to the
  // completion message; then waits until the job has ended. The texts in order.
  Lines Run(int command) {
    if (command) vako->PostCommand(command);
    Lines texts;
    const Lines ends = {Text(IDS_COMPLETED_SEND), Text(IDS_COMPLETED_RECEIVE), Text(IDS_COMPLETED_DELETE)};
    for (;;) {
      HWND box = vako->WaitForDialog(120000, VAKO_CAPTION);
      if (!box) {
        VakoProcess::SaveScreenshot(testenv::Get("VAKO_BINARY_DIR") + "/screenshots/jobs-no-completion.png");
        texts.push_back("<no completion message>");
        return texts;
      }
      texts.push_back(VakoProcess::BoxText(box));
      VakoProcess::PressButton(box, IDOK);
      WaitUntil([&] { return !IsWindow(box); });
      if (std::find(ends.begin(), ends.end(), texts.back()) != ends.end()) break;
    }
    EXPECT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_PREVIOUS_FOLDER) != TBSTATE_INDETERMINATE; }, 60000));
    return texts;
  }

  // Makes the pane (0 local, 1 remote) the one commands act on; Download is offered only
  // while the remote pane is.
  void OnPane(int pane) { ASSERT_TRUE(vako->MakePaneActive(pane)); }

  void Select(HWND list, const Lines& names) { ASSERT_TRUE(vako->SelectNames(list, names)); }

  void Refresh(int pane) {
    OnPane(pane);
    ASSERT_TRUE(vako->SendCommand(IDM_REFRESH));
  }

  // Renames in place: the edit field the command opened takes the new name.
  void TypeName(HWND list, const std::string& name) { ASSERT_TRUE(vako->FinishEdit(list, name)) << name; }

  TempFolder program, local;
  std::unique_ptr<VakoProcess> vako;
  HWND localList = nullptr, remoteList = nullptr;
};

// The tree every transfer carries: three levels, blanks and a Shift-JIS name, an empty file,
// a file of several MiB, CR LF texts, bytes that ASCII mode would change, an empty folder.
Tree TopTree(bool shiftJisName) {
  Tree tree = {{"top/"},
               {"top/with space.txt", "first line\r\nsecond line\r\n"},
               {"top/empty.bin", ""},
               {"top/big.dat", Noise(3 << 20, 7)},
               {"top/sub one/"},
               {"top/sub one/notes.txt", "a\r\n\r\nb\r\n"},
               {"top/sub one/void/"},
               {"top/sub one/deeper/"},
               {"top/sub one/deeper/leaf.bin", std::string("\r\n\n\r\0\x1a\xff end", 11)}};
  if (shiftJisName) tree.push_back({"top/" + kSjisName, "sjis\r\n"});
  return tree;
}

class TransferMatrix : public JobsTest, public ::testing::WithParamInterface<Server> {};

TEST_P(TransferMatrix, DownloadUploadAndMirrorCarryTheWholeTree) {
  const Server& server = GetParam();
  const Tree top = TopTree(server.rawNames);
  PutServerTree(server, "matrix", ServerForm(server, top));
  Start(server, "matrix");
  Connect("top");

  OnPane(1);
  Select(remoteList, {"top"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{Text(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(LocalManifest(local.path()), Manifest(top));

  // Upload into a server that no longer has the tree.
  ASSERT_EQ(Host("rm -rf '" + ServerFolder(server, "matrix") + "/top'"), 0);
  Refresh(1);
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "top") < 0; }));
  OnPane(0);
  Select(localList, {"top"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{Text(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ServerManifest(server, "matrix"), Manifest(ServerForm(server, top)));

  // Mirroring: what only the server has goes, at every level; what both have stays and
  // takes the local content; what only the local side has arrives.
  Tree added = {{"added.txt", "added\r\n"}, {"newdir/"}, {"newdir/inner.bin", "inner"}};
  PutLocalTree(local.path(), added);
  PutServerTree(server, "matrix",
                {{"old.html", "old"}, {"stale/"}, {"stale/x/"}, {"stale/x/y.txt", "y"}, {"top/gone.txt", "gone"},
                 {"top/sub one/deeper/gone.bin", "gone"}, {"top/with space.txt", "changed on the server"}});
  Refresh(0);
  Refresh(1);
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "stale") >= 0; }));
  OnPane(0);
  EXPECT_EQ(Run(IDM_MIRROR_UPLOAD), Lines{Text(IDS_COMPLETED_SEND)});
  Tree all = top;
  all.insert(all.end(), added.begin(), added.end());
  EXPECT_EQ(ServerManifest(server, "matrix"), Manifest(ServerForm(server, all)));
  // The data connections went the way the run asked for.
  const std::string log = ReadWholeFile(NewestWorkFolder() + "ftplog.txt");
  EXPECT_EQ(log.find("EPSV\r\n229") != std::string::npos, Passive());
  EXPECT_EQ(log.find("PORT ") != std::string::npos, !Passive());
  EXPECT_EQ(vako->Close(), 0);
}

INSTANTIATE_TEST_SUITE_P(Servers, TransferMatrix, ::testing::Values(kVsftpd, kPureFtpd, kPyftpdlib),
                         [](const ::testing::TestParamInfo<Server>& info) { return std::string(info.param.name); });

TEST_F(JobsTest, DeleteNewRenameAndPermissionsOnBothSides) {
  PutServerTree(kVsftpd, "ops",
                {{"doomed/"}, {"doomed/a.txt", "a"}, {"doomed/inner/"}, {"doomed/inner/b.bin", "b"},
                 {"doomed/inner/innermost/"}, {"doomed/inner/innermost/c.txt", "c"}, {"doomed.txt", "d"},
                 {"keep.txt", "keep"}, {"perm1.sh", "#!/bin/sh\n"}, {"perm2.txt", "p"}, {"rename-me.txt", "r"},
                 {"opened.vakodata", "opened"}},
                "chmod 644 *.*");
  PutLocalTree(local.path(), {{"ldoomed/"}, {"ldoomed/x.txt", "x"}, {"ldoomed/in/"}, {"ldoomed/in/y.txt", "y"},
                              {"lkeep.txt", "keep"}, {"lrename.txt", "rename"}});
  Start(kVsftpd, "ops");
  Connect("rename-me.txt");

  // Remote: a folder with two levels below it and a file, deleted together.
  OnPane(1);
  Select(remoteList, {"doomed", "doomed.txt"});
  EXPECT_EQ(Run(IDM_DELETE), Lines{Text(IDS_COMPLETED_DELETE)});
  EXPECT_EQ(ServerManifest(kVsftpd, "ops"),
            Manifest({{"keep.txt", "keep"}, {"perm1.sh", "#!/bin/sh\n"}, {"perm2.txt", "p"}, {"rename-me.txt", "r"},
                      {"opened.vakodata", "opened"}}));
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "doomed") < 0; }));

  // Open receives the file into the work folder, not the local one, and hands it to the
  // shell (no program takes this type); the local pane stays where it was.
  const Lines localRows = vako->Names(localList);
  Select(remoteList, {"opened.vakodata"});
  EXPECT_EQ(Run(IDM_OPEN_REMOTE), Lines{Text(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(ReadWholeFile(NewestWorkFolder() + "opened.vakodata"), "opened");
  EXPECT_FALSE(FileExists(local.path() + "opened.vakodata"));
  EXPECT_EQ(vako->Names(localList), localRows);

  // A new folder takes the number of rows ("..", five files) for its name, then the typed one.
  ASSERT_TRUE(vako->SendCommand(IDM_NEW_FOLDER));
  EXPECT_EQ(Host("test -d '" + ServerFolder(kVsftpd, "ops") + "/folder6'"), 0);
  TypeName(remoteList, "fresh dir");
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "fresh dir") >= 0; }));
  Select(remoteList, {"rename-me.txt"});
  ASSERT_TRUE(vako->SendCommand(IDM_RENAME));
  TypeName(remoteList, "renamed.txt");
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "renamed.txt") >= 0; }));
  EXPECT_EQ(ServerManifest(kVsftpd, "ops"),
            Manifest({{"fresh dir/"}, {"keep.txt", "keep"}, {"perm1.sh", "#!/bin/sh\n"}, {"perm2.txt", "p"},
                      {"renamed.txt", "r"}, {"opened.vakodata", "opened"}}));

  // Permissions of the selected files change on the server's disk; the others keep theirs.
  Select(remoteList, {"perm1.sh", "perm2.txt"});
  vako->PostCommand(IDM_CHANGE_ATTRIBUTES);
  HWND dialog = vako->WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  VakoProcess::SetItemText(dialog, IDC_PERMISSION_FIELD, "600");
  VakoProcess::PressButton(dialog, IDOK);
  const std::string modes = "cd '" + ServerFolder(kVsftpd, "ops") +
                            "' && [ \"$(stat -c %a perm1.sh perm2.txt keep.txt | tr '\\n' ' ')\" = '600 600 644 ' ]";
  EXPECT_TRUE(WaitUntil([&] { return Host(modes) == 0; }));

  // Local: the same on the local disk.
  OnPane(0);
  Select(localList, {"ldoomed"});
  ASSERT_TRUE(vako->SendCommand(IDM_DELETE));
  EXPECT_EQ(LocalManifest(local.path()), Manifest({{"lkeep.txt", "keep"}, {"lrename.txt", "rename"}}));
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "ldoomed") < 0; }));
  const std::string folderName = Formatted(IDS_NEW_FOLDER_NAME, std::to_string(vako->RowCount(localList)));
  ASSERT_TRUE(vako->SendCommand(IDM_NEW_FOLDER));
  EXPECT_TRUE(FileExists(local.path() + folderName)) << folderName;
  TypeName(localList, "new folder");
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "new folder") >= 0; }));
  const std::string fileName = Formatted(IDS_NEW_FOLDER_NAME, std::to_string(vako->RowCount(localList)));
  ASSERT_TRUE(vako->SendCommand(IDM_NEW_FILE));
  EXPECT_TRUE(FileExists(local.path() + fileName)) << fileName;
  TypeName(localList, "new.txt");
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "new.txt") >= 0; }));
  Select(localList, {"lrename.txt"});
  ASSERT_TRUE(vako->SendCommand(IDM_RENAME));
  TypeName(localList, "renamed local.txt");
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(localList, "renamed local.txt") >= 0; }));
  EXPECT_EQ(LocalManifest(local.path()),
            Manifest({{"lkeep.txt", "keep"}, {"new folder/"}, {"new.txt", ""}, {"renamed local.txt", "rename"}}));
  EXPECT_EQ(vako->Close(), 0);
}

// "CompareDate" and "CompareDate2" compare the Date texts; "CapitalMode" 0 sends lower-case
// names, which mirroring takes as the counterparts of the local names.
TEST_F(JobsTest, DatesDecideWhatIsSentAndNamesGoLowerCase) {
  PutServerTree(kVsftpd, "rules",
                {{"old.txt", "remote old\r\n"}, {"new.txt", "remote new\r\n"}, {"d-old.txt", "server old\r\n"},
                 {"d-new.txt", "server new\r\n"}, {"MiXed.TXT", "mixed\r\n"}},
                "touch -d '2005-01-01 12:00' old.txt new.txt MiXed.TXT && touch -d '2001-01-01 12:00' d-old.txt && "
                "touch -d '2010-01-01 12:00' d-new.txt");
  PutLocalTree(local.path(), {{"OLD.TXT", "local old\r\n"}, {"NEW.TXT", "local new\r\n"}, {"FRESH.TXT", "fresh\r\n"},
                              {"HTML/"}, {"HTML/INDEX.HTML", "<p>\r\n"}, {"d-old.txt", "local d-old\r\n"},
                              {"d-new.txt", "local d-new\r\n"}});
  for (auto [name, year] : {std::pair<const char*, int>{"OLD.TXT", 2001}, {"NEW.TXT", 2010}, {"FRESH.TXT", 2001},
                            {"d-old.txt", 2005}, {"d-new.txt", 2005}})
    SetLocalYear(local.path() + name, year);
  Start(kVsftpd, "rules", {"CompareDate=1", "CompareDate2=1", "CapitalMode=0"});
  Connect("MiXed.TXT");

  OnPane(0);
  Select(localList, {"OLD.TXT", "NEW.TXT", "FRESH.TXT", "HTML"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{Text(IDS_COMPLETED_SEND)});
  const Tree before = {{"d-new.txt", "server new\r\n"}, {"d-old.txt", "server old\r\n"}, {"MiXed.TXT", "mixed\r\n"}};
  Tree sent = before;
  sent.insert(sent.end(), {{"old.txt", "remote old\r\n"}, {"new.txt", "local new\r\n"}, {"fresh.txt", "fresh\r\n"},
                           {"html/"}, {"html/index.html", "<p>\r\n"}});
  EXPECT_EQ(ServerManifest(kVsftpd, "rules"), Manifest(sent));

  OnPane(1);
  Select(remoteList, {"d-old.txt", "d-new.txt", "MiXed.TXT"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{Text(IDS_COMPLETED_RECEIVE)});
  EXPECT_EQ(ReadWholeFile(local.path() + "d-old.txt"), "local d-old\r\n");
  EXPECT_EQ(ReadWholeFile(local.path() + "d-new.txt"), "server new\r\n");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((local.path() + "mixed.txt").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  EXPECT_STREQ(found.cFileName, "MiXed.TXT");  // downloads keep the server's case

  // Mirroring: an older local file is not sent, yet stays; a remote name that is no
  // counterpart only by case goes.
  PutServerTree(kVsftpd, "rules", {{"html/INDEX.HTML", "upper"}});
  Refresh(1);
  Refresh(0);
  EXPECT_EQ(Run(IDM_MIRROR_UPLOAD), Lines{Text(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ServerManifest(kVsftpd, "rules"),
            Manifest({{"old.txt", "remote old\r\n"}, {"new.txt", "local new\r\n"}, {"fresh.txt", "fresh\r\n"},
                      {"html/"}, {"html/index.html", "<p>\r\n"}, {"d-old.txt", "local d-old\r\n"},
                      {"d-new.txt", "server new\r\n"}, {"mixed.txt", "mixed\r\n"}}));
  EXPECT_EQ(vako->Close(), 0);
}

// ASCII-mode files are converted by nkf32.dll exactly as nkf converts them; binary files
// never. A retrieve that fails leaves the earlier local file as it was, unconverted.
TEST_F(JobsTest, KanjiCodesAsNkfConvertsThem) {
  const std::string euc = Nkf("-e", kSjisText);
  ASSERT_NE(euc, kSjisText);
  PutServerTree(kVsftpd, "kanji", {{"euc-down.txt", euc}, {"euc.jpg", euc}, {"locked.txt", euc}},
                "chmod 000 locked.txt");
  const std::string earlier = "earlier\r\n" + euc;
  PutLocalTree(local.path(), {{"sjis-up.txt", kSjisText}, {"sjis-jis.txt", kSjisText}, {"photo.jpg", kSjisText},
                              {"locked.txt", earlier}});
  Start(kVsftpd, "kanji", {"NKFUp=1"});
  Connect("locked.txt");

  OnPane(0);
  Select(localList, {"sjis-up.txt", "photo.jpg"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{Text(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ReadWholeFile(OnServer(kVsftpd, "kanji/sjis-up.txt")), euc);
  EXPECT_EQ(ReadWholeFile(OnServer(kVsftpd, "kanji/photo.jpg")), kSjisText);
  ASSERT_TRUE(vako->SendCommand(IDM_TO_JIS));
  Select(localList, {"sjis-jis.txt"});
  EXPECT_EQ(Run(IDM_UPLOAD), Lines{Text(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ReadWholeFile(OnServer(kVsftpd, "kanji/sjis-jis.txt")), Nkf("-j", kSjisText));
  EXPECT_EQ(ReadWholeFile(local.path() + "sjis-up.txt"), kSjisText);

  ASSERT_TRUE(vako->SendCommand(IDM_NKF_DOWN));
  OnPane(1);
  Select(remoteList, {"euc-down.txt", "euc.jpg", "locked.txt"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), (Lines{Text(IDS_FAILED_RECEIVE), Text(IDS_COMPLETED_RECEIVE)}));
  EXPECT_EQ(ReadWholeFile(local.path() + "euc-down.txt"), Nkf("-s", euc));
  EXPECT_EQ(ReadWholeFile(local.path() + "euc.jpg"), euc);
  EXPECT_EQ(ReadWholeFile(local.path() + "locked.txt"), earlier);
  EXPECT_EQ(vako->Close(), 0);
}

// A folder the server will not let in, or that is a file there, is reported by name and
// skipped: no other folder receives its files, and nothing is deleted beside it. A local
// folder that is really empty still has its remote entries deleted.
TEST_F(JobsTest, MirroringDeletesOnlyWhatItKnowsIsGone) {
  PutServerTree(kVsftpd, "mirror",
                {{"keep.txt", "old keep\r\n"}, {"other.txt", "other"}, {"blocked", "a remote file"}, {"locked/"},
                 {"locked/z.txt", "z"}, {"emptied/"}, {"emptied/a.txt", "a"}, {"emptied/sub/"}, {"emptied/sub/b.txt", "b"}},
                "chmod 000 locked");
  PutLocalTree(local.path(), {{"keep.txt", "new keep\r\n"}, {"blocked/"}, {"blocked/x.txt", "x"}, {"locked/"},
                              {"locked/y.txt", "y"}, {"emptied/"}});
  Start(kVsftpd, "mirror");
  Connect("emptied");
  OnPane(0);
  EXPECT_EQ(Sorted(Run(IDM_MIRROR_UPLOAD)),
            Sorted({Formatted(IDS_SKIPPED_REMOTE_FOLDER, "blocked"), Formatted(IDS_SKIPPED_REMOTE_FOLDER, "locked"),
                    Text(IDS_COMPLETED_SEND)}));
  EXPECT_EQ(ServerManifest(kVsftpd, "mirror"),
            Manifest({{"keep.txt", "new keep\r\n"}, {"blocked", "a remote file"}, {"locked/"}, {"locked/z.txt", "z"},
                      {"emptied/"}}));
  EXPECT_EQ(vako->Close(), 0);
}

// Download: a remote folder that cannot be entered (110) and a local folder that cannot be
// made because a file has its name (111) are told once each and skipped; their files land
// nowhere else, and a listed name that would lead out of its folder is not received.
// Upload: a remote folder that cannot be entered or made receives nothing, and nothing of
// it lands in another folder.
TEST_F(JobsTest, FoldersThatCannotBeEnteredOrMadeAreSkipped) {
  PutServerTree(kVsftpd, "skips",
                {{"D/"}, {"D/a.txt", "remote a"}, {"D/clash/"}, {"D/clash/keep.txt", "remote keep"}, {"D/clash/h.txt", "h"},
                 {"D/locked/"}, {"D/locked/f.txt", "f"}, {"D/open/"}, {"D/open/g.txt", "g"}, {"D/a\\..\\..\\escape.txt", "out"}, {"U/"},
                 {"U/sub", "a remote file"}, {"U/locked/"}},
                "chmod 000 D/locked U/locked");
  PutLocalTree(local.path(), {{"D/"}, {"D/clash", "local clash"}, {"D/keep.txt", "LOCAL"}, {"U/"}, {"U/a.txt", "a"},
                              {"U/b.txt", "b"}, {"U/sub/"}, {"U/sub/s.txt", "s"}, {"U/locked/"}, {"U/locked/l.txt", "l"}});
  Start(kVsftpd, "skips");
  Connect("U");

  OnPane(1);
  Select(remoteList, {"D"});
  EXPECT_EQ(Sorted(Run(IDM_DOWNLOAD)),
            Sorted({Formatted(IDS_SKIPPED_LOCAL_FOLDER, "clash"), Formatted(IDS_SKIPPED_REMOTE_FOLDER, "locked"),
                    Text(IDS_COMPLETED_RECEIVE)}));
  EXPECT_EQ(FilesOnly(LocalManifest(local.path() + "D\\")),
            Manifest({{"a.txt", "remote a"}, {"clash", "local clash"}, {"keep.txt", "LOCAL"}, {"open/g.txt", "g"}}));
  EXPECT_FALSE(FileExists(local.path() + "escape.txt"));

  OnPane(0);
  Select(localList, {"U"});
  EXPECT_EQ(Sorted(Run(IDM_UPLOAD)),
            Sorted({Formatted(IDS_SKIPPED_REMOTE_FOLDER, "sub"), Formatted(IDS_SKIPPED_REMOTE_FOLDER, "locked"),
                    Text(IDS_COMPLETED_SEND)}));
  EXPECT_EQ(FilesOnly(ServerManifest(kVsftpd, "skips")),
            Manifest({{"D/a.txt", "remote a"}, {"D/clash/keep.txt", "remote keep"}, {"D/clash/h.txt", "h"},
                      {"D/locked/f.txt", "f"}, {"D/open/g.txt", "g"}, {"D/a\\..\\..\\escape.txt", "out"}, {"U/a.txt", "a"}, {"U/b.txt", "b"},
                      {"U/sub", "a remote file"}}));
  EXPECT_EQ(vako->Close(), 0);
}

// Files dropped from the shell: on the remote pane without a connection, one message for
// the whole drop; once connected, files and folders go to the server; on the local pane
// they are copied into the folder shown.
TEST_F(JobsTest, DroppedFiles) {
  TempFolder shell;
  PutLocalTree(shell.path(), {{"a.txt", "a\r\n"}, {"b.bin", "b"}, {"dropdir/"}, {"dropdir/inner/"},
                              {"dropdir/inner/c.txt", "c\r\n"}});
  PutServerTree(kVsftpd, "drop", {});
  Start(kVsftpd, "drop");
  auto center = [&](HWND list) {
    RECT r = vako->ChildRect(list);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  const Lines paths = {shell.path() + "a.txt", shell.path() + "b.bin", shell.path() + "dropdir"};
  ASSERT_TRUE(vako->DropFiles(center(remoteList), paths));
  HWND box = vako->WaitForDialog(20000, VAKO_CAPTION);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(VakoProcess::BoxText(box), Text(IDS_DROP_NOT_CONNECTED));
  VakoProcess::PressButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return vako->ButtonState(IDM_PREVIOUS_FOLDER) == TBSTATE_ENABLED; }));
  EXPECT_EQ(Boxes(), "");

  Connect("..");
  ASSERT_TRUE(vako->DropFiles(center(remoteList), paths));
  EXPECT_EQ(Run(0), Lines{Text(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ServerManifest(kVsftpd, "drop"), Manifest({{"a.txt", "a\r\n"}, {"b.bin", "b"}, {"dropdir/"},
                                                       {"dropdir/inner/"}, {"dropdir/inner/c.txt", "c\r\n"}}));
  ASSERT_TRUE(vako->DropFiles(center(localList), {shell.path() + "b.bin"}));
  EXPECT_EQ(Run(0), Lines{Text(IDS_COMPLETED_SEND)});
  EXPECT_EQ(ReadWholeFile(local.path() + "b.bin"), "b");
  EXPECT_EQ(vako->Close(), 0);
}

// Stop in the middle of a large download: the program stays connected and answers, and the
// next download brings the right bytes.
TEST_F(JobsTest, StopLeavesTheSessionReady) {
  const size_t size = 32u << 20;
  PutServerTree(kVsftpd, "stop", {{"small.bin", Noise(100000, 3)}},
                "head -c " + std::to_string(size) + " /dev/urandom > big.bin && chown " +
                    testenv::Get("VAKO_FTP_USER") + " big.bin");
  // Small pieces make the transfer last: under Wine every receive call has its cost.
  Start(kVsftpd, "stop", {"ReceiveBuf=256"});
  Connect("big.bin");
  OnPane(1);
  Select(remoteList, {"big.bin"});
  vako->PostCommand(IDM_DOWNLOAD);
  HWND progress = FindWindowExA(vako->Child(2020), nullptr, PROGRESS_CLASSA, nullptr);
  ASSERT_NE(progress, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(progress, PBM_GETPOS, 0, 0) > 0; }, 60000)) << Boxes();
  EXPECT_EQ(Run(IDM_STOP), Lines{Text(IDS_COMPLETED_RECEIVE)});
  EXPECT_LT(ReadWholeFile(local.path() + "big.bin").size(), size);

  EXPECT_EQ(vako->ButtonState(IDM_DISCONNECT), TBSTATE_ENABLED);
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(vako->window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
  Select(remoteList, {"small.bin"});
  EXPECT_EQ(Run(IDM_DOWNLOAD), Lines{Text(IDS_COMPLETED_RECEIVE)});
  EXPECT_TRUE(ReadWholeFile(local.path() + "small.bin") == Noise(100000, 3));
  EXPECT_EQ(vako->Close(), 0);
}

// A listing cut at its size limit shows only part of the folder: mirroring an empty local
// folder onto it deletes nothing there, and says why once.
TEST_F(JobsTest, MirroringBesideACutListingDeletesNothing) {
  Start(kVsftpd, "/", {"Port=" + std::to_string(testenv::ScriptedPort("hugelisting"))});
  vako->PostCommand(IDM_CONNECT);
  HWND dialog = vako->WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  VakoProcess::SetItemText(dialog, IDC_HOST_ADDRESS, "127.0.0.1");
  VakoProcess::SetItemText(dialog, IDC_LOGIN_NAME, "anyone");
  VakoProcess::SetItemText(dialog, IDC_PASSWORD, "x");
  VakoProcess::PressButton(dialog, IDOK);
  auto answer = [&] {
    HWND box = vako->WaitForDialog(60000, VAKO_CAPTION);
    if (!box) return std::string("<no box>");
    const std::string text = VakoProcess::BoxText(box);
    VakoProcess::PressButton(box, IDOK);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
  };
  EXPECT_EQ(answer(), Text(IDS_OUT_OF_MEMORY));
  ASSERT_TRUE(WaitUntil([&] { return vako->RowOfName(remoteList, "file0000000.txt") >= 0; })) << Boxes();
  // The job's end lists the folder again, which is cut again.
  vako->PostCommand(IDM_MIRROR_UPLOAD);
  Lines texts;
  for (int i = 0; i < 3; ++i) texts.push_back(answer());
  EXPECT_EQ(texts, (Lines{Formatted(IDS_KEPT_UNLISTED_FOLDER, "/"), Text(IDS_COMPLETED_SEND), Text(IDS_OUT_OF_MEMORY)}));
  EXPECT_GE(vako->RowOfName(remoteList, "file0000000.txt"), 0);
}

}  // namespace
