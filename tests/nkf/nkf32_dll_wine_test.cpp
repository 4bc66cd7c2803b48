// nkf32.dll as Windows loads it, and ConvertKanjiFile with it: results, the files it
// writes, the order of calls the "NKFKana" setting asks for, and where the library may
// come from.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "config/options.h"
#include "jobs/kanji_conversion_win.h"

namespace {

std::vector<std::string> g_boxes;
int RecordBox(const std::string& text, const std::string&, unsigned) {
  g_boxes.push_back(text);
  return IDOK;
}

std::string UnixToWine(const char* path) {
  std::string s = std::string("Z:") + path;
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

std::string ReadAll(const std::string& path) {
  std::string out;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  char buf[4096];
  DWORD got;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
  CloseHandle(h);
  return out;
}

void WriteAll(const std::string& path, const std::string& data) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
  DWORD put;
  if (!data.empty()) {
    EXPECT_TRUE(WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr));
  }
  CloseHandle(h);
}

class KanjiConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* bin = std::getenv("VAKO_BINARY_DIR");
    ASSERT_NE(nullptr, bin);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "vako-nkf-" + std::to_string(GetCurrentProcessId()) + "\\";
    program_ = root_ + "program\\";
    bare_ = root_ + "bare\\";
    browsed_ = root_ + "browsed\\";
    for (const std::string& d : {root_, program_, bare_, browsed_}) CreateDirectoryA(d.c_str(), nullptr);
    std::string built = UnixToWine(bin);
    ASSERT_TRUE(CopyFileA((built + "\\bin\\nkf32.dll").c_str(), (program_ + "nkf32.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((built + "\\tests\\nkf\\planted\\nkf32.dll").c_str(), (browsed_ + "nkf32.dll").c_str(), FALSE));
    GetCurrentDirectoryA(MAX_PATH, savedFolder_);
    ProgramFolder = program_;
    Options.NKFKana = 0;
    g_boxes.clear();
    SetMessageBoxObserver(RecordBox);
  }
  void TearDown() override {
    SetMessageBoxObserver(nullptr);
    SetCurrentDirectoryA(savedFolder_);
    SHFileOperationDelete();
  }
  void SHFileOperationDelete() {
    for (const std::string& d : {program_, bare_, browsed_}) {
      WIN32_FIND_DATAA fd;
      HANDLE h = FindFirstFileA((d + "*").c_str(), &fd);
      if (h != INVALID_HANDLE_VALUE) {
        do DeleteFileA((d + fd.cFileName).c_str());
        while (FindNextFileA(h, &fd));
        FindClose(h);
      }
      RemoveDirectoryA(d.c_str());
    }
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((root_ + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do DeleteFileA((root_ + fd.cFileName).c_str());
      while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA(root_.c_str());
  }
  // Converts DATA written to a source file; the converted file's text, or "<-N>".
  std::string Convert(const std::string& data, const char* option) {
    std::string source = root_ + "source.txt", target = root_ + "target.tmp";
    WriteAll(source, data);
    WriteAll(target, "");
    int result = ConvertKanjiFile(source.c_str(), target.c_str(), option);
    EXPECT_EQ(data, ReadAll(source)) << "the source must stay as it was";
    if (result != 0) return "<" + std::to_string(result) + ">";
    return ReadAll(target);
  }

  std::string root_, program_, bare_, browsed_;
  char savedFolder_[MAX_PATH] = {};
};

const std::string kSjis = "\x93\xfa\x96\x7b\x8c\xea\xb6\xde\r\nabc\n";        // Japanese, ga, CR LF
const std::string kEuc = "\xc6\xfc\xcb\xdc\xb8\xec\xa5\xac\r\nabc\n";
const std::string kJis = "\x1b$BF|K\\8l%,\x1b(B\r\nabc\n";

}  // namespace

TEST_F(KanjiConversion, TheLibraryExportsItsThreeOperationsByPlainName) {
  HMODULE m = LoadLibraryA((program_ + "nkf32.dll").c_str());
  ASSERT_NE(nullptr, m);
  auto setOption = reinterpret_cast<int(WINAPI*)(LPCSTR)>(reinterpret_cast<void (*)()>(GetProcAddress(m, "SetNkfOption")));
  auto convert = reinterpret_cast<void(WINAPI*)(LPSTR, LPCSTR)>(reinterpret_cast<void (*)()>(GetProcAddress(m, "NkfConvert")));
  auto widen = reinterpret_cast<void(WINAPI*)(LPSTR, LPCSTR)>(reinterpret_cast<void (*)()>(GetProcAddress(m, "ToZenkakuKana")));
  ASSERT_TRUE(setOption && convert && widen);
  std::vector<char> out(2 * kSjis.size() + 1, 'x');
  EXPECT_EQ(0, setOption("-e"));
  convert(out.data(), kSjis.c_str());
  EXPECT_EQ(kEuc, std::string(out.data()));
  EXPECT_EQ(0, setOption("-j"));
  convert(out.data(), kEuc.c_str());
  EXPECT_EQ(kJis, std::string(out.data()));
  widen(out.data(), "\xb6\xde\xca\xdf");
  EXPECT_EQ("\x83\x4b\x83\x70", std::string(out.data()));
  FreeLibrary(m);
}

TEST_F(KanjiConversion, ConvertsEachWayAndReportsSuccess) {
  EXPECT_EQ(kEuc, Convert(kSjis, "-e"));
  EXPECT_EQ(kJis, Convert(kSjis, "-j"));
  EXPECT_EQ("\x93\xfa\x96\x7b\x8c\xea\x83\x4b\r\nabc\n", Convert(kEuc, "-s"));
  EXPECT_EQ("\x93\xfa\x96\x7b\x8c\xea\x83\x4b\r\nabc\n", Convert(kJis, "-s"));
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(KanjiConversion, KanaSettingWidensShiftJisTextOnly) {
  Options.NKFKana = 1;
  // Upload: widened, then converted.
  EXPECT_EQ(kEuc, Convert(kSjis, "-e"));
  // Download: converted to Shift-JIS first, so EUC-JP and JIS bytes are never taken for
  // katakana.
  const std::string sjisWide = "\x93\xfa\x96\x7b\x8c\xea\x83\x4b\r\nabc\n";
  EXPECT_EQ(sjisWide, Convert(kEuc, "-s"));
  EXPECT_EQ(sjisWide, Convert(kJis, "-s"));
  EXPECT_EQ("\x88\x9f\x83\x4b\x83\x70\r\n", Convert("\x88\x9f\xb6\xde\xca\xdf\r\n", "-s"));
  // Katakana between letters widen to twice their size and then need escapes on top:
  // the first block has room for that.
  std::string sparse;
  for (int i = 0; i < 200; ++i) sparse += "\xb6\xde\xb6\xde\xb6\xde\xb6\xde\xb6\xde\xb6\xde.";
  std::string jis = Convert(sparse, "-j");
  EXPECT_EQ(0u, jis.find("\x1b$B%,%,%,%,%,%,\x1b(B."));
}

TEST_F(KanjiConversion, EdgeCasesOfTheText) {
  // Only the text before a zero byte is written.
  EXPECT_EQ("\xb0\xa1" "a", Convert(std::string("\x88\x9f" "a\0\x88\x9f", 6), "-e"));
  // An empty file gives an empty file.
  EXPECT_EQ("", Convert("", "-e"));
  EXPECT_EQ("", Convert("", "-j"));
  // Conversions the block cannot hold fail instead of being cut short; the caller then
  // keeps or sends the file unconverted.
  EXPECT_EQ("<-1>", Convert("1\x8c\x8e\r\n", "-j"));
  // UTF-8 text is refused rather than garbled.
  EXPECT_EQ("<-1>", Convert("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\r\n", "-s"));
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(KanjiConversion, FailuresGiveTheirResults) {
  std::string target = root_ + "target.tmp";
  WriteAll(target, "");
  // No library beside the program: -2, nothing shown.
  ProgramFolder = bare_;
  WriteAll(root_ + "source.txt", kSjis);
  EXPECT_EQ(-2, ConvertKanjiFile((root_ + "source.txt").c_str(), target.c_str(), "-e"));
  ProgramFolder = program_;
  // A source that is missing, or that another program holds exclusively: -1.
  EXPECT_EQ(-1, ConvertKanjiFile((root_ + "missing.txt").c_str(), target.c_str(), "-e"));
  HANDLE held = CreateFileA((root_ + "source.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(-1, ConvertKanjiFile((root_ + "source.txt").c_str(), target.c_str(), "-e"));
  CloseHandle(held);
  // A target that cannot be opened: -1, nothing shown.
  EXPECT_EQ(-1, ConvertKanjiFile((root_ + "source.txt").c_str(), (root_ + "no\\such\\folder.tmp").c_str(), "-e"));
  EXPECT_EQ("", ReadAll(target));
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(KanjiConversion, APlantedLibraryInTheCurrentFolderIsNeverLoaded) {
  ASSERT_TRUE(SetCurrentDirectoryA(browsed_.c_str()));
  // Nothing beside the program: the copy in the current folder must not stand in.
  ProgramFolder = bare_;
  EXPECT_EQ("<-2>", Convert(kSjis, "-e"));
  EXPECT_EQ(nullptr, GetModuleHandleA("nkf32.dll"));
  // The program's own copy is the one used.
  ProgramFolder = program_;
  EXPECT_EQ(kEuc, Convert(kSjis, "-e"));
  Options.NKFKana = 1;
  EXPECT_EQ(kEuc, Convert(kSjis, "-e"));
}
