// ConvertKanjiFile with nkf32.dll as Windows loads it: the files it writes, the order of
// calls the "NKFKana" setting asks for, its results, and where the library may come from.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/app_state_win.h"
#include "config/options.h"
#include "ftp/data_connection_win.h"
#include "jobs/kanji_conversion_win.h"
#include "support/case_table.h"
#include "support/message_box_recorder_win.h"
#include "support/temp_folder_win.h"
#include "support/test_env.h"

namespace {

class KanjiConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string built = testenv::WinePath(testenv::Get("VAKO_BINARY_DIR"));
    for (const char* d : {"program", "bare", "browsed"}) CreateDirectoryA((root.path() + d).c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((built + "\\bin\\nkf32.dll").c_str(), (root.path() + "program\\nkf32.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((built + "\\tests\\nkf\\planted\\nkf32.dll").c_str(), (root.path() + "browsed\\nkf32.dll").c_str(), FALSE));
    GetCurrentDirectoryA(MAX_PATH, saved_folder);
    ProgramFolder = root.path() + "program\\";
    Options.NKFKana = 0;
  }
  void TearDown() override {
    SetCurrentDirectoryA(saved_folder);
    EXPECT_TRUE(boxes.boxes().empty()) << "conversion shows nothing itself";
  }
  // Converts DATA written to a source file: the converted file's text, or "<result>".
  std::string Convert(const std::string& data, const std::string& option) {
    const std::string source = root.path() + "source.txt", target = root.path() + "target.tmp";
    WriteWholeFile(source, data);
    WriteWholeFile(target, "");
    const int result = ConvertKanjiFile(source.c_str(), target.c_str(), option.c_str());
    EXPECT_EQ(data, ReadWholeFile(source)) << "the source must stay as it was";
    return result != 0 ? "<" + std::to_string(result) + ">" : ReadWholeFile(target);
  }
  TempFolder root;
  MessageBoxRecorder boxes;
  char saved_folder[MAX_PATH] = {};
};

const std::string kSjis = "\x93\xfa\x96\x7b\x8c\xea\xb6\xde\r\nabc\n";  // Japanese, ga, CR LF
const std::string kEuc = "\xc6\xfc\xcb\xdc\xb8\xec\xa5\xac\r\nabc\n";

TEST_F(KanjiConversion, ConvertsFilesEachWayWithAndWithoutKanaWidening) {
  for (const Case& c : ReadCases("nkf/data/file_conversions.tsv")) {
    Options.NKFKana = std::stoi(c[2]);
    EXPECT_EQ(c[3], Convert(c[0], c[1])) << c[0] << " " << c[1] << " NKFKana=" << c[2];
  }
  // Katakana between letters widen to twice their size and then need escapes on top: the
  // first block has room for that.
  Options.NKFKana = 1;
  std::string sparse;
  for (int i = 0; i < 200; ++i) sparse += "\xb6\xde\xb6\xde\xb6\xde\xb6\xde\xb6\xde\xb6\xde.";
  EXPECT_EQ(0u, Convert(sparse, "-j").find("\x1b$B%,%,%,%,%,%,\x1b(B."));
}

TEST_F(KanjiConversion, FailuresGiveTheirResults) {
  const std::string source = root.path() + "source.txt", target = root.path() + "target.tmp";
  WriteWholeFile(source, kSjis);
  WriteWholeFile(target, "");
  EXPECT_EQ(-1, ConvertKanjiFile((root.path() + "missing.txt").c_str(), target.c_str(), "-e"));
  EXPECT_EQ(-1, ConvertKanjiFile(source.c_str(), (root.path() + "no\\such\\folder.tmp").c_str(), "-e"));
  HANDLE held = CreateFileA(source.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(-1, ConvertKanjiFile(source.c_str(), target.c_str(), "-e")) << "held exclusively by another program";
  CloseHandle(held);
  EXPECT_EQ("", ReadWholeFile(target));
}

TEST_F(KanjiConversion, OnlyTheLibraryBesideTheProgramIsLoaded) {
  ASSERT_TRUE(SetCurrentDirectoryA((root.path() + "browsed").c_str()));
  ProgramFolder = root.path() + "bare\\";  // nothing there: the planted copy must not stand in
  EXPECT_EQ("<-2>", Convert(kSjis, "-e"));
  EXPECT_EQ(nullptr, GetModuleHandleA("nkf32.dll"));
  ProgramFolder = root.path() + "program\\";
  EXPECT_EQ(kEuc, Convert(kSjis, "-e"));
}

// A job loads the library once for all of its files and lets go of it when it ends; the
// files convert as they do one by one.
TEST_F(KanjiConversion, AJobKeepsTheLibraryToItsEnd) {
  {
    TransferJobScope job;
    EXPECT_EQ(kEuc, Convert(kSjis, "-e"));
    const HMODULE loaded = GetModuleHandleA("nkf32.dll");
    EXPECT_NE(nullptr, loaded);
    EXPECT_EQ("\x93\xfa\x96\x7b\x8c\xea\x83\x4b\r\nabc\n", Convert(kEuc, "-s"));
    EXPECT_EQ(loaded, GetModuleHandleA("nkf32.dll"));
  }
  EXPECT_EQ(nullptr, GetModuleHandleA("nkf32.dll"));
  EXPECT_EQ(kEuc, Convert(kSjis, "-e"));
  EXPECT_EQ(nullptr, GetModuleHandleA("nkf32.dll"));
}

}  // namespace
