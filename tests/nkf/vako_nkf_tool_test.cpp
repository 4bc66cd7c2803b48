// The command-line tool: what it writes and how it ends.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "kanji_text_corpus.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
};

ToolRun RunTool(const std::string& args, const std::string& input) {
  const char* bin = std::getenv("VAKO_BINARY_DIR");
  std::string tool = std::string(bin ? bin : ".") + "/tools/vako-nkf";
  char path[] = "/tmp/vako-nkf-tool-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return {-1, ""};
  bool written = write(fd, input.data(), input.size()) == static_cast<ssize_t>(input.size());
  close(fd);
  if (!written) return {-1, ""};
  std::string command = tool + " " + args + " < " + path + " 2>/dev/null";
  ToolRun run{-1, ""};
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
    int st = pclose(p);
    run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  }
  unlink(path);
  return run;
}

}  // namespace

TEST(VakoNkfTool, ConvertsLikeNkfAndWidensOnRequest) {
  const std::string euc = "\xc6\xfc\xcb\xdc\xb8\xec\r\n\x8e\xb6\x8e\xde abc\n";
  for (const char* option : {"-s", "-e", "-j"}) {
    ToolRun run = RunTool(option, euc);
    EXPECT_EQ(0, run.status) << option;
    EXPECT_EQ(corpus::RunNkf(option, euc), run.out) << option;
  }
  // Widening happens before the conversion, on Shift-JIS input.
  ToolRun widened = RunTool("-e --zenkaku-kana", "\x88\x9f\xb6\xde\n");
  EXPECT_EQ(0, widened.status);
  EXPECT_EQ("\xb0\xa1\xa5\xac\n", widened.out);
  // Zero bytes in a file pass through; the tool is not bound to C strings.
  ToolRun zero = RunTool("-s", std::string("a\0b\n", 4));
  EXPECT_EQ(std::string("a\0b\n", 4), zero.out);
}

TEST(VakoNkfTool, RefusesBadArgumentsAndUtf8) {
  EXPECT_EQ(1, RunTool("", "x").status);
  EXPECT_EQ(1, RunTool("-x", "x").status);
  EXPECT_EQ(1, RunTool("-s --other", "x").status);
  ToolRun utf8 = RunTool("-s", "\xe3\x81\x82\xe3\x81\x84\n");
  EXPECT_EQ(2, utf8.status);
  EXPECT_EQ("", utf8.out);
}
