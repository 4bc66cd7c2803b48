// unlha32.dll as the program uses it: loaded by name, the listing functions on archives made
// by jlha, and what only real Win32 file calls show. Runs in the Japanese prefix (code page
// 932), so Shift-JIS names reach the file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

#include "plugins/unlha32/crc16.h"
#include "plugins/unlha32/lha_header.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

using UnlhaFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using OpenFn = HANDLE(WINAPI*)(HWND, LPCSTR, DWORD);
using FindFirstFn = int(WINAPI*)(HANDLE, LPCSTR, void*);
using FindNextFn = int(WINAPI*)(HANDLE, void*);
using HandleFn = int(WINAPI*)(HANDLE);
using ConfigFn = BOOL(WINAPI*)(HWND, LPSTR, int);

const std::string kFixture = testenv::WinePath(testenv::Get("VAKO_BINARY_DIR")) + "\\tests\\lha\\fixture\\";

struct Row {
  std::string name, method;
  uint32_t size;
  uint32_t dos_stamp;  // date in the low word, time in the high word, as the record holds them
  int attributes;
};

class Unlha32 : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryA((testenv::WinePath(testenv::Get("VAKO_BINARY_DIR")) + "\\bin\\unlha32.dll").c_str());
    ASSERT_NE(module, nullptr);
    unlha = Proc<UnlhaFn>("Unlha");
    open = Proc<OpenFn>("UnlhaOpenArchive");
    find_first = Proc<FindFirstFn>("UnlhaFindFirst");
    find_next = Proc<FindNextFn>("UnlhaFindNext");
    get_attribute = Proc<HandleFn>("UnlhaGetAttribute");
    close = Proc<HandleFn>("UnlhaCloseArchive");
    ASSERT_TRUE(unlha && open && find_first && find_next && get_attribute && close);
  }
  void TearDown() override {
    SetCurrentDirectoryA(kFixture.c_str());
    if (module) FreeLibrary(module);
  }
  template <typename F>
  F Proc(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
  // One command line with the 2048-byte output buffer the program uses.
  int Run(const std::string& line, std::string* output = nullptr) {
    char buffer[2048];
    std::memset(buffer, '#', sizeof buffer);
    const int result = unlha(nullptr, line.c_str(), buffer, 2047);
    EXPECT_EQ(buffer[2047], '#') << "wrote past the given size";
    if (output) *output = buffer;
    return result;
  }
  std::map<std::string, Row> List(const std::string& archive, const char* pattern = "*.*") {
    std::map<std::string, Row> rows;
    HANDLE h = open(nullptr, archive.c_str(), 0x800001);
    EXPECT_NE(h, nullptr) << archive;
    uint8_t record[560 + 16];
    std::memset(record, 0xEE, sizeof record);
    for (int r = h ? find_first(h, pattern, record) : -1; r == 0; r = find_next(h, record)) {
      Row row{reinterpret_cast<char*>(record + 26), reinterpret_cast<char*>(record + 550), 0, 0, get_attribute(h)};
      std::memcpy(&row.size, record, 4);
      std::memcpy(&row.dos_stamp, record + 22, 4);
      rows[row.name] = row;
      EXPECT_EQ(record[560], 0xEE) << "wrote past the record";
    }
    if (h) {
      EXPECT_EQ(close(h), 0);
    }
    return rows;
  }

  HMODULE module = nullptr;
  UnlhaFn unlha = nullptr;
  OpenFn open = nullptr;
  FindFirstFn find_first = nullptr;
  FindNextFn find_next = nullptr;
  HandleFn get_attribute = nullptr, close = nullptr;
  TempFolder work;
};

TEST_F(Unlha32, ListsAndExtractsArchivesMadeByJlha) {
  const uint64_t t = 920801100ull * 10000000ull + 116444736000000000ull;
  FILETIME utc = {static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)}, local;
  FileTimeToLocalFileTime(&utc, &local);
  WORD date = 0, time = 0;
  FileTimeToDosDateTime(&local, &date, &time);
  for (const char* archive : {"jlha5.lzh", "jlha7.lzh"}) {
    SCOPED_TRACE(archive);
    std::map<std::string, Row> rows = List(kFixture + archive);
    EXPECT_EQ(rows.size(), 8u);  // four files and four folders
    for (const char* file : {"tree/docs/manual.txt", "tree/docs/deep/notes.txt", "tree/readme.txt", "tree/noise.bin"}) {
      std::string path = kFixture + file;
      for (char& c : path) c = c == '/' ? '\\' : c;
      EXPECT_EQ(rows[file].size, ReadWholeFile(path).size()) << file;
      EXPECT_EQ(rows[file].dos_stamp, date | static_cast<uint32_t>(time) << 16) << file;
      EXPECT_EQ(rows[file].attributes & FILE_ATTRIBUTE_DIRECTORY, 0) << file;
    }
    for (const char* folder : {"tree", "tree/docs", "tree/docs/deep", "tree/hollow"})
      EXPECT_EQ(rows[folder].attributes, FILE_ATTRIBUTE_DIRECTORY) << folder;
    EXPECT_EQ(rows["tree/docs/manual.txt"].method, archive[4] == '5' ? "-lh5-" : "-lh7-");
    std::string out;
    EXPECT_EQ(Run("x \"" + kFixture + archive + "\" \"" + work.path() + archive + "\\\"", &out), 0) << out;
    EXPECT_EQ(ReadWholeFile(work.path() + archive + "\\tree\\docs\\manual.txt"), ReadWholeFile(kFixture + "tree\\docs\\manual.txt"));
    EXPECT_TRUE(GetFileAttributesA((work.path() + archive + "\\tree\\hollow").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  }
  EXPECT_EQ(List(kFixture + "jlha5.lzh", "*.txt").size(), 3u);
  EXPECT_EQ(List(kFixture + "jlha5.lzh", "*.xyz").size(), 0u);
  // No archive, or not an archive: no handle.
  EXPECT_EQ(open(nullptr, (work.path() + "none.lzh").c_str(), 0x800001), nullptr);
  WriteWholeFile(work.path() + "text.lzh", "just some text, not an archive at all");
  EXPECT_EQ(open(nullptr, (work.path() + "text.lzh").c_str(), 0x800001), nullptr);
}

TEST_F(Unlha32, ExtractsShiftJisNamesAndRefusesMembersOutsideTheDestination) {
  std::string archive;
  for (const char* name : {"..\\evil1.txt", "\x95\x5C.txt", "C:\\evil2.txt", "\x81\\..\\evil3.txt", "sub\\..\\..\\evil4.txt", "nul"}) {
    LhaEntry e;
    e.method = "-lh0-";
    e.name = name;
    e.packed_size = e.original_size = 4;
    e.crc = UpdateCrc16(0, reinterpret_cast<const uint8_t*>("data"), 4);
    const std::vector<uint8_t> h = BuildLevel2Header(e);
    archive += std::string(h.begin(), h.end()) + "data";
  }
  CreateDirectoryA((work.path() + "in").c_str(), nullptr);
  WriteWholeFile(work.path() + "evil.lzh", archive + '\0');
  std::string out;
  EXPECT_EQ(Run("x \"" + work.path() + "evil.lzh\" \"" + work.path() + "in\\dest\\\"", &out), 1);
  EXPECT_EQ(ReadWholeFile(work.path() + "in\\dest\\\x95\x5C.txt"), "data");
  for (const char* f : {"in\\evil1.txt", "evil1.txt", "in\\evil3.txt", "evil4.txt", "in\\evil4.txt"})
    EXPECT_FALSE(FileExists(work.path() + f)) << f;
  EXPECT_FALSE(FileExists("C:\\evil2.txt"));
  for (const char* n : {"evil1", "evil2", "evil3", "evil4", "nul"}) EXPECT_NE(out.find(n), std::string::npos) << n << "\n" << out;
}

TEST_F(Unlha32, SmallAndMissingOutputBuffers) {
  char small[20];
  std::memset(small, '#', sizeof small);
  EXPECT_NE(unlha(nullptr, "x no-such-archive.lzh out\\", small, 8), 0);
  EXPECT_EQ(std::strlen(small), 7u);
  for (size_t i = 8; i < sizeof small; ++i) EXPECT_EQ(small[i], '#');
  EXPECT_NE(unlha(nullptr, "x no-such-archive.lzh out\\", nullptr, 0), 0);
  EXPECT_NE(unlha(nullptr, nullptr, small, sizeof small), 0);
  EXPECT_EQ(close(nullptr), -1);
  EXPECT_EQ(get_attribute(nullptr), -1);
}

// Answers the library's own window from a second thread, as a user would.
struct Answerer {
  const char* caption;
  const char* text;  // typed into the rename box, or null to press OK only
  static DWORD WINAPI Run(void* p) {
    const Answerer* a = static_cast<Answerer*>(p);
    for (int i = 0; i < 200; ++i, Sleep(50)) {
      HWND w = FindWindowA(nullptr, a->caption);
      if (w && IsWindowVisible(w)) {  // visible once the dialog has finished its set-up
        if (a->text) SetDlgItemTextA(w, 100, a->text);
        PostMessageA(w, WM_COMMAND, IDOK, 0);
        return 1;
      }
    }
    return 0;
  }
  bool AnsweredWhile(const std::function<void()>& call) {
    HANDLE thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    call();
    WaitForSingleObject(thread, INFINITE);
    DWORD answered = 0;
    GetExitCodeThread(thread, &answered);
    CloseHandle(thread);
    return answered == 1;
  }
};

TEST_F(Unlha32, RenameWithoutNewNameAndTheConfigDialogAskTheUser) {
  ASSERT_TRUE(SetCurrentDirectoryA(work.path().c_str()));
  WriteWholeFile("old.txt", "contents");
  ASSERT_EQ(Run("a arc.lzh old.txt"), 0);
  Answerer rename = {"Rename member", "new.txt"};
  EXPECT_TRUE(rename.AnsweredWhile([&] { EXPECT_EQ(Run("n arc.lzh old.txt"), 0); }));
  EXPECT_EQ(List(work.path() + "arc.lzh").count("new.txt"), 1u);
  Answerer ok = {"UNLHA32.DLL", nullptr};
  char options[64] = "";
  EXPECT_TRUE(ok.AnsweredWhile([&] { EXPECT_TRUE(Proc<ConfigFn>("UnlhaConfigDialog")(nullptr, options, 1)); }));
}

}  // namespace
