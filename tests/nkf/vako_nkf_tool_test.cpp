// The command-line tool: what it writes and how it ends.
#include <gtest/gtest.h>

#include "lha/plugin_test_support.h"
#include "nkf/kanji_text_corpus.h"

namespace {

LibraryRun RunTool(const std::string& args, const std::string& input) {
  ScratchFolder dir;
  WriteFile(dir / "in", input);
  LibraryRun run;
  run.result = RunShell(dir.path(), std::string(std::getenv("VAKO_BINARY_DIR")) + "/tools/vako-nkf " + args + " < in 2>/dev/null", &run.output);
  return run;
}

TEST(VakoNkfTool, ConvertsLikeNkfWidensOnRequestAndRefusesBadInput) {
  const std::string euc = "\xc6\xfc\xcb\xdc\xb8\xec\r\n\x8e\xb6\x8e\xde abc\n";
  for (const char* option : {"-s", "-e", "-j"}) EXPECT_EQ(RunTool(option, euc).output, corpus::RunNkf(option, euc)) << option;
  // Widening comes before the conversion, on Shift-JIS input; zero bytes pass through.
  EXPECT_EQ(RunTool("-e --zenkaku-kana", "\x88\x9f\xb6\xde\n").output, "\xb0\xa1\xa5\xac\n");
  EXPECT_EQ(RunTool("-s", std::string("a\0b\n", 4)).output, std::string("a\0b\n", 4));
  for (const char* bad : {"", "-x", "-s --other"}) EXPECT_EQ(RunTool(bad, "x").result, 1) << bad;
  const LibraryRun utf8 = RunTool("-s", "\xe3\x81\x82\xe3\x81\x84\n");
  EXPECT_EQ(utf8.result, 2);
  EXPECT_EQ(utf8.output, "");
}

}  // namespace
