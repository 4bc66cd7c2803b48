// unlha32.dll as the program uses it, for what only the DLL and real Win32 file calls show:
// the listing functions' records, extraction of Shift-JIS names in the Japanese prefix (code
// page 932), unsafe members, the caller's buffers, and the rename dialog and settings box in
// the Japanese edition.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "lha/stored_members_archive.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

using UnlhaFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using HandleFn = int(WINAPI*)(HANDLE);

class Unlha32 : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(module, nullptr); }
  void TearDown() override {
    SetCurrentDirectoryA(testenv::WinePath(testenv::Get("VAKO_BINARY_DIR")).c_str());
    FreeLibrary(module);
  }
  template <typename F>
  F Export(const char* name) {
    F f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    EXPECT_NE(f, nullptr) << name;
    return f;
  }
  // One command line with the 2048-byte output buffer the program uses.
  int Run(const std::string& line, std::string* output = nullptr) {
    std::string buffer(2048, '#');
    const int result = Export<UnlhaFn>("Unlha")(nullptr, line.c_str(), &buffer[0], 2047);
    EXPECT_EQ(buffer[2047], '#') << "wrote past the given size";
    if (output) *output = buffer.c_str();
    return result;
  }
  // Name to "size method attributes", from the record's fields at 0, 26 and 550.
  std::map<std::string, std::string> List(const std::string& archive, const char* pattern) {
    std::map<std::string, std::string> rows;
    HANDLE h = Export<HANDLE(WINAPI*)(HWND, LPCSTR, DWORD)>("UnlhaOpenArchive")(nullptr, archive.c_str(), 0x800001);
    std::vector<uint8_t> record(560 + 16, 0xEE);
    for (int r = Export<int(WINAPI*)(HANDLE, LPCSTR, void*)>("UnlhaFindFirst")(h, pattern, record.data()); r == 0;
         r = Export<int(WINAPI*)(HANDLE, void*)>("UnlhaFindNext")(h, record.data())) {
      uint32_t size = 0;
      std::memcpy(&size, record.data(), 4);
      rows[reinterpret_cast<char*>(&record[26])] = std::to_string(size) + " " + reinterpret_cast<char*>(&record[550]) + " " +
                                                   std::to_string(Export<HandleFn>("UnlhaGetAttribute")(h));
      EXPECT_EQ(record[560], 0xEE) << "wrote past the record";
    }
    EXPECT_EQ(Export<HandleFn>("UnlhaCloseArchive")(h), h ? 0 : -1);
    return rows;
  }

  HMODULE module = LoadLibraryA((testenv::WinePath(testenv::Get("VAKO_BINARY_DIR")) + "\\bin\\unlha32.dll").c_str());
  TempFolder work;
};

TEST_F(Unlha32, ListsAndExtractsShiftJisNamesAndRefusesMembersOutsideTheDestination) {
  CreateDirectoryA((work.path() + "in").c_str(), nullptr);
  WriteWholeFile(work.path() + "evil.lzh", StoredMembersArchive({"..\\evil1.txt", "docs\\\x95\x5C.txt", "C:\\evil2.txt",
                                                               "\x81\\..\\evil3.txt", "sub\\..\\..\\evil4.txt", "nul"}));
  std::string out;
  EXPECT_EQ(Run("x \"" + work.path() + "evil.lzh\" \"" + work.path() + "in\\dest\\\"", &out), 1);
  EXPECT_EQ(ReadWholeFile(work.path() + "in\\dest\\docs\\\x95\x5C.txt"), "data");
  for (const char* f : {"in\\evil1.txt", "evil1.txt", "in\\evil3.txt", "evil4.txt", "in\\evil4.txt"})
    EXPECT_FALSE(FileExists(work.path() + f)) << f;
  EXPECT_FALSE(FileExists("C:\\evil2.txt"));
  for (const char* n : {"evil1", "evil2", "evil3", "evil4", "nul"}) EXPECT_NE(out.find(n), std::string::npos) << n << "\n" << out;
  // A wildcard narrows the listing; not an archive: no handle.
  const std::map<std::string, std::string> rows = List(work.path() + "evil.lzh", "*.txt");
  EXPECT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows.at("docs/\x95\x5C.txt"), "4 -lh0- 32");
  WriteWholeFile(work.path() + "text.lzh", "just some text, not an archive at all");
  EXPECT_EQ(List(work.path() + "text.lzh", "*.*").size(), 0u);
}

TEST_F(Unlha32, SmallAndMissingOutputBuffers) {
  std::string small(20, '#');
  const UnlhaFn unlha = Export<UnlhaFn>("Unlha");
  EXPECT_NE(unlha(nullptr, "x no-such-archive.lzh out\\", &small[0], 8), 0);
  EXPECT_EQ(small.substr(7), std::string(1, '\0') + std::string(12, '#')) << "7 bytes and the zero";
  EXPECT_NE(unlha(nullptr, "x no-such-archive.lzh out\\", nullptr, 0), 0);
  EXPECT_NE(unlha(nullptr, nullptr, &small[0], 20), 0);
  EXPECT_EQ(Export<HandleFn>("UnlhaGetAttribute")(nullptr), -1);
}

// The caption of the library's dialog or box answered last, and the text of one control.
std::wstring SeenCaption, SeenText;

// Answers the library's dialog or message box (the only one of this process) once it is
// visible, that is set up: the rename dialog gets the new name typed in, as a user would.
DWORD WINAPI AnswerWindow(void* textId) {
  for (int i = 0; i < 200; ++i, Sleep(50)) {
    HWND w = FindWindowW(L"#32770", nullptr);
    DWORD process = 0;
    if (w) GetWindowThreadProcessId(w, &process);
    if (w && process == GetCurrentProcessId() && IsWindowVisible(w)) {
      wchar_t text[512] = L"";
      GetWindowTextW(w, text, 512);
      SeenCaption = text;
      text[0] = L'\0';
      GetDlgItemTextW(w, static_cast<int>(reinterpret_cast<INT_PTR>(textId)), text, 512);
      SeenText = text;
      SetDlgItemTextA(w, 100, "new.txt");
      PostMessageA(w, WM_COMMAND, IDOK, 0);
      return 1;
    }
  }
  return 0;
}

void AnswerWhile(int textId, const std::function<void()>& call) {
  SeenCaption.clear();
  SeenText.clear();
  HANDLE answerer = CreateThread(nullptr, 0, AnswerWindow, reinterpret_cast<void*>(static_cast<INT_PTR>(textId)), 0, nullptr);
  call();
  WaitForSingleObject(answerer, INFINITE);
  CloseHandle(answerer);
}

TEST_F(Unlha32, RenameWithoutANewNameAsksTheUser) {
  ASSERT_TRUE(SetCurrentDirectoryA(work.path().c_str()));
  WriteWholeFile("old.txt", "contents");
  ASSERT_EQ(Run("a arc.lzh old.txt"), 0);
  AnswerWhile(101, [&] { EXPECT_EQ(Run("n arc.lzh old.txt"), 0); });
  // This prefix speaks Japanese (code page 932): so does the dialog.
  EXPECT_EQ(SeenCaption, L"メンバ名の変更");
  EXPECT_EQ(SeenText, L"新しい名前:");
  EXPECT_EQ(List(work.path() + "arc.lzh", "*.*").count("new.txt"), 1u);
}

TEST_F(Unlha32, SettingsBoxSpeaksTheSystemsLanguage) {
  char options[16] = "";
  const auto config = Export<BOOL(WINAPI*)(HWND, LPSTR, int)>("UnlhaConfigDialog");
  AnswerWhile(0xFFFF, [&] { EXPECT_TRUE(config(nullptr, options, 1)); });
  EXPECT_EQ(SeenCaption, L"UNLHA32.DLL");
  EXPECT_EQ(SeenText.rfind(L"Vako LHA ライブラリ", 0), 0u);
  EXPECT_NE(SeenText.find(L"設定項目はありません"), std::wstring::npos);
}

}  // namespace
