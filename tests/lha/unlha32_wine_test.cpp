// unlha32.dll as the program uses it, for what only the DLL and real Win32 file calls show:
// the listing functions' records, extraction of Shift-JIS names in the Japanese prefix (code
// page 932), unsafe members, the caller's buffers and the rename dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <tuple>

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

struct Row {
  std::string name, method;
  uint32_t size;
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
    SetCurrentDirectoryA(testenv::WinePath(testenv::Get("VAKO_BINARY_DIR")).c_str());
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
  std::map<std::string, Row> List(const std::string& archive, const char* pattern) {
    std::map<std::string, Row> rows;
    HANDLE h = open(nullptr, archive.c_str(), 0x800001);
    EXPECT_NE(h, nullptr) << archive;
    uint8_t record[560 + 16];
    std::memset(record, 0xEE, sizeof record);
    for (int r = h ? find_first(h, pattern, record) : -1; r == 0; r = find_next(h, record)) {
      Row row{reinterpret_cast<char*>(record + 26), reinterpret_cast<char*>(record + 550), 0, get_attribute(h)};
      std::memcpy(&row.size, record, 4);
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

TEST_F(Unlha32, ListsAndExtractsShiftJisNamesAndRefusesMembersOutsideTheDestination) {
  std::string archive;
  for (const char* name : {"..\\evil1.txt", "docs\\\x95\x5C.txt", "C:\\evil2.txt", "\x81\\..\\evil3.txt", "sub\\..\\..\\evil4.txt", "nul"}) {
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
  EXPECT_EQ(ReadWholeFile(work.path() + "in\\dest\\docs\\\x95\x5C.txt"), "data");
  for (const char* f : {"in\\evil1.txt", "evil1.txt", "in\\evil3.txt", "evil4.txt", "in\\evil4.txt"})
    EXPECT_FALSE(FileExists(work.path() + f)) << f;
  EXPECT_FALSE(FileExists("C:\\evil2.txt"));
  for (const char* n : {"evil1", "evil2", "evil3", "evil4", "nul"}) EXPECT_NE(out.find(n), std::string::npos) << n << "\n" << out;
  // The records: size at 0, name at 26, method at 550; a wildcard narrows the listing.
  const std::map<std::string, Row> rows = List(work.path() + "evil.lzh", "*.txt");
  ASSERT_EQ(rows.size(), 5u);
  const Row& row = rows.at("docs/\x95\x5C.txt");
  EXPECT_EQ(std::tie(row.size, row.method, row.attributes), std::make_tuple(4u, std::string("-lh0-"), FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(List(work.path() + "evil.lzh", "*.xyz").size(), 0u);
  WriteWholeFile(work.path() + "text.lzh", "just some text, not an archive at all");
  EXPECT_EQ(open(nullptr, (work.path() + "text.lzh").c_str(), 0x800001), nullptr);
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
  const char* text;  // typed into the box
  static DWORD WINAPI Run(void* p) {
    const Answerer* a = static_cast<Answerer*>(p);
    for (int i = 0; i < 200; ++i, Sleep(50)) {
      HWND w = FindWindowA(nullptr, a->caption);
      if (w && IsWindowVisible(w)) {  // visible once the dialog has finished its set-up
        SetDlgItemTextA(w, 100, a->text);
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

TEST_F(Unlha32, RenameWithoutANewNameAsksTheUser) {
  ASSERT_TRUE(SetCurrentDirectoryA(work.path().c_str()));
  WriteWholeFile("old.txt", "contents");
  ASSERT_EQ(Run("a arc.lzh old.txt"), 0);
  Answerer rename = {"Rename member", "new.txt"};
  EXPECT_TRUE(rename.AnsweredWhile([&] { EXPECT_EQ(Run("n arc.lzh old.txt"), 0); }));
  EXPECT_EQ(List(work.path() + "arc.lzh", "*.*").count("new.txt"), 1u);
}

}  // namespace
