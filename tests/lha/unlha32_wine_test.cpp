// unlha32.dll as the program uses it: loaded by name at run time, listing functions on
// archives made by another program, and the command lines through Unlha. Runs under Wine in
// the Japanese prefix (code page 932), so Shift-JIS names reach real Win32 file calls.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "plugins/unlha32/crc16.h"
#include "plugins/unlha32/lha_header.h"

namespace {

using UnlhaFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using OpenFn = HANDLE(WINAPI*)(HWND, LPCSTR, DWORD);
using FindFirstFn = int(WINAPI*)(HANDLE, LPCSTR, void*);
using FindNextFn = int(WINAPI*)(HANDLE, void*);
using HandleFn = int(WINAPI*)(HANDLE);
using ConfigFn = BOOL(WINAPI*)(HWND, LPSTR, int);

template <typename F>
F Proc(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string WindowsPath(const char* unix_path) {
  std::string p = std::string("Z:") + unix_path;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

std::string BinaryDir() {
  const char* b = std::getenv("VAKO_BINARY_DIR");
  return b ? WindowsPath(b) : std::string(".");
}

std::string Fixture() { return BinaryDir() + "\\tests\\lha\\fixture"; }

std::string ReadAll(const std::string& path) {
  std::string out;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  CloseHandle(h);
  return out;
}

void WriteAll(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD wrote = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct Library {
  HMODULE module = nullptr;
  UnlhaFn unlha = nullptr;
  OpenFn open = nullptr;
  FindFirstFn find_first = nullptr;
  FindNextFn find_next = nullptr;
  HandleFn get_attribute = nullptr;
  HandleFn close = nullptr;
  ConfigFn config = nullptr;
};

class Unlha32 : public ::testing::Test {
 protected:
  void SetUp() override {
    lib.module = LoadLibraryA((BinaryDir() + "\\bin\\unlha32.dll").c_str());
    ASSERT_NE(lib.module, nullptr);
    lib.unlha = Proc<UnlhaFn>(lib.module, "Unlha");
    lib.open = Proc<OpenFn>(lib.module, "UnlhaOpenArchive");
    lib.find_first = Proc<FindFirstFn>(lib.module, "UnlhaFindFirst");
    lib.find_next = Proc<FindNextFn>(lib.module, "UnlhaFindNext");
    lib.get_attribute = Proc<HandleFn>(lib.module, "UnlhaGetAttribute");
    lib.close = Proc<HandleFn>(lib.module, "UnlhaCloseArchive");
    lib.config = Proc<ConfigFn>(lib.module, "UnlhaConfigDialog");
    ASSERT_TRUE(lib.unlha && lib.open && lib.find_first && lib.find_next && lib.get_attribute &&
                lib.close && lib.config);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char name[MAX_PATH];
    GetTempFileNameA(temp, "ult", 0, name);
    DeleteFileA(name);
    work = name;
    ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
  }
  void TearDown() override {
    if (!work.empty()) {
      std::string from = work + std::string(2, '\0');
      SHFILEOPSTRUCTA op = {};
      op.wFunc = FO_DELETE;
      op.pFrom = from.c_str();
      op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
      SHFileOperationA(&op);
    }
    if (lib.module) FreeLibrary(lib.module);
  }

  // Runs one command line with the 2048-byte output buffer the program uses.
  int Run(const std::string& line, std::string* output = nullptr) {
    char buffer[2048];
    std::memset(buffer, '#', sizeof buffer);
    int result = lib.unlha(nullptr, line.c_str(), buffer, 2047);
    EXPECT_EQ(buffer[2047], '#') << "wrote past the given size";
    if (output) *output = buffer;
    return result;
  }

  struct Row {
    std::string name;
    uint32_t size;
    uint16_t date, time;
    int attributes;
    std::string method;
  };
  std::vector<Row> List(const std::string& archive) {
    std::vector<Row> rows;
    HANDLE h = lib.open(nullptr, archive.c_str(), 0x800001);
    if (!h) {
      ADD_FAILURE() << "cannot open " << archive;
      return rows;
    }
    uint8_t record[560 + 16];
    std::memset(record, 0xEE, sizeof record);
    for (int r = lib.find_first(h, "*.*", record); r == 0; r = lib.find_next(h, record)) {
      Row row;
      row.name = reinterpret_cast<char*>(record + 26);
      std::memcpy(&row.size, record, 4);
      std::memcpy(&row.date, record + 22, 2);
      std::memcpy(&row.time, record + 24, 2);
      row.attributes = lib.get_attribute(h);
      row.method = reinterpret_cast<char*>(record + 550);
      rows.push_back(row);
      for (size_t i = 560; i < sizeof record; ++i) EXPECT_EQ(record[i], 0xEE);
    }
    EXPECT_EQ(lib.close(h), 0);
    return rows;
  }

  Library lib;
  std::string work;
};

TEST_F(Unlha32, ListsArchivesMadeByJlha) {
  FILETIME utc, local;
  uint64_t t = 920801100ull * 10000000ull + 116444736000000000ull;
  utc.dwLowDateTime = static_cast<DWORD>(t);
  utc.dwHighDateTime = static_cast<DWORD>(t >> 32);
  FileTimeToLocalFileTime(&utc, &local);
  WORD date = 0, time = 0;
  FileTimeToDosDateTime(&local, &date, &time);
  const std::map<std::string, std::string> files = {
      {"tree/docs/manual.txt", "\\tree\\docs\\manual.txt"},
      {"tree/docs/deep/notes.txt", "\\tree\\docs\\deep\\notes.txt"},
      {"tree/readme.txt", "\\tree\\readme.txt"},
      {"tree/noise.bin", "\\tree\\noise.bin"}};
  for (const char* archive : {"\\jlha5.lzh", "\\jlha7.lzh"}) {
    SCOPED_TRACE(archive);
    std::vector<Row> rows = List(Fixture() + archive);
    std::map<std::string, Row> by_name;
    for (const Row& r : rows) by_name[r.name] = r;
    EXPECT_EQ(rows.size(), 8u);  // four files and four folders
    for (const auto& f : files) {
      auto found = by_name.find(f.first);
      ASSERT_NE(found, by_name.end()) << f.first;
      EXPECT_EQ(found->second.size, ReadAll(Fixture() + f.second).size()) << f.first;
      EXPECT_EQ(found->second.date, date) << f.first;
      EXPECT_EQ(found->second.time, time) << f.first;
      EXPECT_EQ(found->second.attributes & 0x10, 0) << f.first;
    }
    for (const char* folder : {"tree", "tree/docs", "tree/docs/deep", "tree/hollow"}) {
      ASSERT_NE(by_name.find(folder), by_name.end()) << folder;
      EXPECT_EQ(by_name[folder].attributes, 0x10) << folder;
      EXPECT_EQ(by_name[folder].method, "-lhd-");
    }
    EXPECT_EQ(by_name["tree/docs/manual.txt"].method, std::string(archive) == "\\jlha5.lzh" ? "-lh5-" : "-lh7-");
  }
  // No archive, or not an archive: no handle.
  EXPECT_EQ(lib.open(nullptr, (work + "\\none.lzh").c_str(), 0x800001), nullptr);
  WriteAll(work + "\\text.lzh", "just some text, not an archive at all");
  EXPECT_EQ(lib.open(nullptr, (work + "\\text.lzh").c_str(), 0x800001), nullptr);
  // A wildcard narrows the listing; a bad handle is refused.
  HANDLE h = lib.open(nullptr, (Fixture() + "\\jlha5.lzh").c_str(), 0x800001);
  ASSERT_NE(h, nullptr);
  uint8_t record[560];
  ASSERT_EQ(lib.find_first(h, "*.txt", record), 0);
  int count = 1;
  while (lib.find_next(h, record) == 0) ++count;
  EXPECT_EQ(count, 3);
  EXPECT_EQ(lib.find_first(h, "*.xyz", record), -1);
  EXPECT_EQ(lib.close(h), 0);
}

TEST_F(Unlha32, TestExtractRestoresTheFiles) {
  std::string out;
  int r = Run("x \"" + Fixture() + "\\jlha7.lzh\" \"" + work + "\\tools\\\"", &out);
  EXPECT_EQ(r, 0) << out;
  for (const char* f : {"\\tree\\docs\\manual.txt", "\\tree\\docs\\deep\\notes.txt",
                        "\\tree\\readme.txt", "\\tree\\noise.bin"})
    EXPECT_TRUE(ReadAll(work + "\\tools" + f) == ReadAll(Fixture() + f)) << f;
  EXPECT_TRUE(GetFileAttributesA((work + "\\tools\\tree\\hollow").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Unlha32, ArchiveModeCommandsWithShiftJisNames) {
  ASSERT_TRUE(SetCurrentDirectoryA(work.c_str()));
  CreateDirectoryA("site", nullptr);
  CreateDirectoryA("work", nullptr);
  const std::string table = "\x95\x5C";  // a kanji whose second byte is a backslash
  WriteAll("site\\" + table + ".txt", std::string(3000, 'k'));
  WriteAll("site\\a.txt", "alpha");
  std::string out;
  // Compress Folder with -r2 -x1 -a1, from the parent folder, with the archive's full path.
  EXPECT_EQ(Run("a -jm2 -r2 -x1  -a1 \"" + work + "\\arc.lzh\" \"site\\*.*\"", &out), 0) << out;
  std::vector<Row> rows = List(work + "\\arc.lzh");
  ASSERT_EQ(rows.size(), 2u);
  bool saw_table = false;
  for (const Row& row : rows) saw_table |= row.name == "site/" + table + ".txt";
  EXPECT_TRUE(saw_table);
  // Open an entry: e into the work folder, without its folder.
  EXPECT_EQ(Run("e arc.lzh " + work + "\\work\\ site/" + table + ".txt", &out), 0) << out;
  EXPECT_EQ(ReadAll(work + "\\work\\" + table + ".txt"), std::string(3000, 'k'));
  // Rename by label editing, then delete.
  EXPECT_EQ(Run("n \"-grsite/" + table + "2.txt\" \"arc.lzh\" \"site/" + table + ".txt\"", &out), 0) << out;
  EXPECT_EQ(Run("d \"arc.lzh\" \"site/a.txt\"", &out), 0) << out;
  rows = List(work + "\\arc.lzh");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, "site/" + table + "2.txt");
  // A download into the pane adds from the work folder.
  WriteAll("work\\got.txt", "downloaded");
  EXPECT_EQ(Run("a arc.lzh " + work + "\\work\\ got.txt", &out), 0) << out;
  EXPECT_EQ(List(work + "\\arc.lzh").size(), 2u);
  // Drag-out: x with a response file of -x0/-x1 lines, over a placeholder.
  WriteAll("work\\got.txt", "DMY\r\n");
  WriteAll("work\\res1.tmp", "-x0  \"got.txt\"\r\n-x1  \"site/*.*\"\r\n");
  EXPECT_EQ(Run("x -c1 -m1 \"arc.lzh\" \"" + work + "\\work\\\" \"@" + work + "\\work\\res1.tmp\"", &out), 0) << out;
  EXPECT_EQ(ReadAll("work\\got.txt"), "downloaded");
  EXPECT_EQ(ReadAll("work\\site\\" + table + "2.txt"), std::string(3000, 'k'));
  SetCurrentDirectoryA(BinaryDir().c_str());
}

TEST_F(Unlha32, RefusesMembersOutsideTheDestination) {
  std::string archive;
  for (const char* name : {"..\\evil1.txt", "ok.txt", "C:\\evil2.txt", "\x81\\..\\evil3.txt",
                           "sub\\..\\..\\evil4.txt", "nul"}) {
    LhaEntry e;
    e.method = "-lh0-";
    e.name = name;
    e.packed_size = e.original_size = 4;
    e.crc = UpdateCrc16(0, reinterpret_cast<const uint8_t*>("data"), 4);
    std::vector<uint8_t> h = BuildLevel2Header(e);
    archive.append(h.begin(), h.end());
    archive += "data";
  }
  archive += '\0';
  CreateDirectoryA((work + "\\in").c_str(), nullptr);
  CreateDirectoryA((work + "\\in\\dest").c_str(), nullptr);
  WriteAll(work + "\\evil.lzh", archive);
  std::string out;
  EXPECT_NE(Run("x \"" + work + "\\evil.lzh\" \"" + work + "\\in\\dest\\\"", &out), 0);
  EXPECT_EQ(ReadAll(work + "\\in\\dest\\ok.txt"), "data");
  for (const char* f : {"\\in\\evil1.txt", "\\evil1.txt", "\\in\\evil3.txt", "\\evil4.txt",
                        "\\in\\evil4.txt"})
    EXPECT_FALSE(Exists(work + f)) << f;
  EXPECT_FALSE(Exists("C:\\evil2.txt"));
  for (const char* n : {"evil1", "evil2", "evil3", "evil4", "nul"})
    EXPECT_NE(out.find(n), std::string::npos) << n << "\n" << out;
}

TEST_F(Unlha32, SmallAndMissingOutputBuffers) {
  char small[20];
  std::memset(small, '#', sizeof small);
  int r = lib.unlha(nullptr, "x no-such-archive.lzh out\\", small, 8);
  EXPECT_NE(r, 0);
  EXPECT_EQ(std::strlen(small), 7u);
  for (size_t i = 8; i < sizeof small; ++i) EXPECT_EQ(small[i], '#');
  EXPECT_NE(lib.unlha(nullptr, "x no-such-archive.lzh out\\", nullptr, 0), 0);
  EXPECT_NE(lib.unlha(nullptr, nullptr, small, sizeof small), 0);
  EXPECT_EQ(lib.close(nullptr), -1);
  EXPECT_EQ(lib.get_attribute(nullptr), -1);
}

// Answers the library's own windows from a second thread, as a user would.
struct Answerer {
  const char* caption;
  const char* text;  // typed into the rename box, or null to press OK only
  static DWORD WINAPI Run(void* p) {
    Answerer* a = static_cast<Answerer*>(p);
    for (int i = 0; i < 200; ++i) {
      HWND w = FindWindowA(nullptr, a->caption);
      // Visible only once the dialog has finished its own set-up.
      if (w && IsWindowVisible(w)) {
        if (a->text) SetDlgItemTextA(w, 100, a->text);
        PostMessageA(w, WM_COMMAND, IDOK, 0);
        return 1;
      }
      Sleep(50);
    }
    return 0;
  }
};

TEST_F(Unlha32, RenameWithoutNewNameAsksTheUser) {
  ASSERT_TRUE(SetCurrentDirectoryA(work.c_str()));
  WriteAll("old.txt", "contents");
  std::string out;
  ASSERT_EQ(Run("a arc.lzh old.txt", &out), 0) << out;
  Answerer answer = {"Rename member", "new.txt"};
  HANDLE thread = CreateThread(nullptr, 0, Answerer::Run, &answer, 0, nullptr);
  EXPECT_EQ(Run("n arc.lzh old.txt", &out), 0) << out;
  WaitForSingleObject(thread, INFINITE);
  DWORD found = 0;
  GetExitCodeThread(thread, &found);
  CloseHandle(thread);
  EXPECT_EQ(found, 1u);
  std::vector<Row> rows = List(work + "\\arc.lzh");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, "new.txt");

  Answerer ok = {"UNLHA32.DLL", nullptr};
  thread = CreateThread(nullptr, 0, Answerer::Run, &ok, 0, nullptr);
  char options[64] = "";
  EXPECT_TRUE(lib.config(nullptr, options, 1));
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  SetCurrentDirectoryA(BinaryDir().c_str());
}

}  // namespace
