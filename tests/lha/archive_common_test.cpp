// The shared archive safety code: member names, the bounded output text, command lines.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "plugins/archive_common/command_line.h"
#include "plugins/archive_common/member_path.h"
#include "plugins/archive_common/output_text.h"

namespace {

std::string Parts(const std::string& name) {
  MemberPath p = CheckMemberPath(name);
  if (!p.ok) return "refused: " + p.problem;
  return MemberPathText(p) + (p.is_folder ? " (folder)" : "");
}

TEST(MemberPath, AcceptsRelativeNamesWithEitherSeparator) {
  EXPECT_EQ(Parts("a.txt"), "a.txt");
  EXPECT_EQ(Parts("docs/a.txt"), "docs/a.txt");
  EXPECT_EQ(Parts("docs\\sub\\a.txt"), "docs/sub/a.txt");
  EXPECT_EQ(Parts("docs//./a.txt"), "docs/a.txt");
  EXPECT_EQ(Parts("docs/"), "docs (folder)");
  EXPECT_EQ(Parts("a..b/c...txt"), "a..b/c...txt");
}

TEST(MemberPath, RefusesNamesThatLeaveTheDestination) {
  for (const char* bad : {"/etc/passwd", "\\windows\\x.dll", "\\\\server\\share\\x", "C:\\x.txt",
                          "c:x.txt", "a/b:stream", "../x", "a/../../x", "a\\..\\x", "..",
                          "a/.../x", "a/.. /x", "", "/", "./"}) {
    MemberPath p = CheckMemberPath(bad);
    EXPECT_FALSE(p.ok) << bad;
    EXPECT_FALSE(p.problem.empty()) << bad;
  }
}

TEST(MemberPath, RefusesDeviceNames) {
  for (const char* bad : {"CON", "docs/nul.txt", "aux", "COM1.log", "lpt9", "PRN "})
    EXPECT_FALSE(CheckMemberPath(bad).ok) << bad;
  for (const char* good : {"CONSOLE", "com10", "nullable.txt", "lpt"})
    EXPECT_TRUE(CheckMemberPath(good).ok) << good;
}

TEST(MemberPath, ShiftJisTrailBackslashIsPartOfItsCharacter) {
  // 0x95 0x5C is one character (a kanji whose second byte is a backslash).
  std::string table = "\x95\x5C.txt";
  MemberPath p = CheckMemberPath(table);
  ASSERT_TRUE(p.ok);
  ASSERT_EQ(p.parts.size(), 1u);
  EXPECT_EQ(p.parts[0], table);
  MemberPath nested = CheckMemberPath("\x95\x5C/\x83\x5C\x83\x74\x83\x67.txt");
  ASSERT_TRUE(nested.ok);
  EXPECT_EQ(nested.parts.size(), 2u);
}

TEST(MemberPath, RefusesParentFolderHiddenBehindATrailByte) {
  // Read as Shift-JIS this is one odd name; read byte by byte it climbs out with "..".
  EXPECT_FALSE(CheckMemberPath("\x81\\..\\evil.txt").ok);
  EXPECT_FALSE(CheckMemberPath("docs/\x95\\..\\..\\evil.txt").ok);
}

TEST(MemberPath, RefusesOverlongNames) {
  EXPECT_TRUE(CheckMemberPath(std::string(1023, 'a')).ok);
  EXPECT_FALSE(CheckMemberPath(std::string(1024, 'a')).ok);
}

TEST(MemberPath, JoinPutsOneSeparatorAfterTheFolder) {
  MemberPath p = CheckMemberPath("docs/a.txt");
  EXPECT_EQ(JoinMemberPath("C:\\out", p, '\\'), "C:\\out\\docs\\a.txt");
  EXPECT_EQ(JoinMemberPath("C:\\out\\", p, '\\'), "C:\\out\\docs\\a.txt");
  EXPECT_EQ(JoinMemberPath("", p, '/'), "docs/a.txt");
  // A folder ending in a kanji whose trail byte is 0x5C still needs its separator.
  EXPECT_EQ(JoinMemberPath("C:\\\x95\x5C", p, '\\'), "C:\\\x95\x5C\\docs\\a.txt");
  EXPECT_TRUE(EndsWithSeparator("a\\"));
  EXPECT_TRUE(EndsWithSeparator("a/"));
  EXPECT_FALSE(EndsWithSeparator("\x95\x5C"));
  EXPECT_TRUE(EndsWithSeparator("\x95\x5C\\"));
  EXPECT_FALSE(EndsWithSeparator(""));
}

TEST(OutputText, NeverWritesAtOrPastTheGivenSize) {
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  {
    OutputText out(buffer, 8);
    out.Line("abc");
    EXPECT_STREQ(buffer, "abc\r\n");
    out.Append("defgh");
    EXPECT_STREQ(buffer, "abc\r\nde");
    EXPECT_TRUE(out.Truncated());
    out.Append("z");  // nothing after a cut
    EXPECT_STREQ(buffer, "abc\r\nde");
  }
  for (size_t i = 8; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#');
}

TEST(OutputText, ZeroSizeAndNullBufferTakeNothing) {
  char buffer[4] = {'x', 'x', 'x', 'x'};
  OutputText none(buffer, 0);
  none.Line("text");
  EXPECT_EQ(buffer[0], 'x');
  OutputText null_buffer(nullptr, 100);
  null_buffer.Line("text");
  EXPECT_EQ(null_buffer.Length(), 0u);
  OutputText one(buffer, 1);
  one.Line("text");
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'x');
}

TEST(OutputText, CutsBeforeAShiftJisCharacterNotInsideIt) {
  char buffer[5];
  OutputText out(buffer, sizeof buffer);
  out.Append("ab\x82\xA0\x82\xA2");  // ab + two kana
  EXPECT_STREQ(buffer, "ab\x82\xA0");
  char small[4];
  OutputText cut(small, sizeof small);
  cut.Append("ab\x82\xA0");
  EXPECT_STREQ(small, "ab");
}

TEST(CommandLine, SplitsOnBlanksAndKeepsQuotedText) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitCommandLine("e arc.lzh C:\\work\\ a.txt"), (V{"e", "arc.lzh", "C:\\work\\", "a.txt"}));
  EXPECT_EQ(SplitCommandLine("  x   \"C:\\My Files\\a.lzh\"\t\"C:\\test\\tools\\\"  "),
            (V{"x", "C:\\My Files\\a.lzh", "C:\\test\\tools\\"}));
  EXPECT_EQ(SplitCommandLine("n \"-gr new name.txt\" \"a.lzh\" \"old.txt\""),
            (V{"n", "-gr new name.txt", "a.lzh", "old.txt"}));
  EXPECT_EQ(SplitCommandLine("a \"\" b"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitCommandLine("a pre\"fix mid\"post"), (V{"a", "prefix midpost"}));
  EXPECT_EQ(SplitCommandLine("a \"open to the end"), (V{"a", "open to the end"}));
  EXPECT_TRUE(SplitCommandLine("").empty());
  // Shift-JIS text passes through as bytes.
  EXPECT_EQ(SplitCommandLine("e \"\x95\x5C.lzh\""), (V{"e", "\x95\x5C.lzh"}));
}

TEST(CommandLine, ResponseFilesAreReadLineByLine) {
  std::map<std::string, std::string> files = {
      {"C:\\work\\res1.tmp", "-x1  \"docs/*.*\"\r\n-x0  \"b.gif\r\n\r\n-x0 \"c d.txt\"\r\n"},
  };
  ReadWholeFile read = [&files](const std::string& path, std::string& text) {
    auto f = files.find(path);
    if (f == files.end()) return false;
    text = f->second;
    return true;
  };
  std::vector<std::string> words = SplitCommandLine(
      "x -c1 -m1 \"a.lzh\" \"C:\\work\\\" \"@C:\\work\\res1.tmp\"");
  std::string error;
  ASSERT_TRUE(ExpandResponseFiles(words, read, error)) << error;
  EXPECT_EQ(words, (std::vector<std::string>{"x", "-c1", "-m1", "a.lzh", "C:\\work\\", "-x1",
                                             "docs/*.*", "-x0", "b.gif", "-x0", "c d.txt"}));

  std::vector<std::string> missing = {"x", "a.lzh", "@nowhere"};
  EXPECT_FALSE(ExpandResponseFiles(missing, read, error));
  EXPECT_NE(error.find("nowhere"), std::string::npos);
  EXPECT_EQ(missing.size(), 3u);
}

}  // namespace
