// The shared archive safety code: member names, the bounded output text, command lines.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "support/case_table.h"
#include "plugins/archive_common/command_line.h"
#include "plugins/archive_common/member_path.h"
#include "plugins/archive_common/output_text.h"

namespace {

TEST(MemberPath, NamesAreNormalisedOrRefused) {
  for (const Case& c : ReadCases("lha/data/member_paths.tsv")) {
    const MemberPath p = CheckMemberPath(c[0]);
    const std::string got = !p.ok ? (p.problem.empty() ? "refused without a reason" : "refused")
                                  : MemberPathText(p) + (p.is_folder ? " (folder)" : "");
    EXPECT_EQ(got, c[1]) << c[0];
  }
  EXPECT_TRUE(CheckMemberPath(std::string(1023, 'a')).ok);
  EXPECT_FALSE(CheckMemberPath(std::string(1024, 'a')).ok);
}

TEST(MemberPath, JoinPutsOneSeparatorAfterTheFolder) {
  const MemberPath p = CheckMemberPath("docs/a.txt");
  EXPECT_EQ(JoinMemberPath("C:\\out", p, '\\'), "C:\\out\\docs\\a.txt");
  EXPECT_EQ(JoinMemberPath("C:\\out\\", p, '\\'), "C:\\out\\docs\\a.txt");
  EXPECT_EQ(JoinMemberPath("", p, '/'), "docs/a.txt");
  // A folder ending in a kanji whose trail byte is 0x5C still needs its separator.
  EXPECT_EQ(JoinMemberPath("C:\\\x95\x5C", p, '\\'), "C:\\\x95\x5C\\docs\\a.txt");
  EXPECT_TRUE(EndsWithSeparator("\x95\x5C\\"));
  EXPECT_FALSE(EndsWithSeparator(""));
}

TEST(OutputText, NeverWritesAtOrPastTheSizeNorInsideACharacter) {
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  OutputText out(buffer, 8);
  out.Line("abc");
  out.Append("defgh");
  EXPECT_STREQ(buffer, "abc\r\nde");
  EXPECT_TRUE(out.Truncated());
  out.Append("z");  // nothing after a cut
  EXPECT_STREQ(buffer, "abc\r\nde");
  for (size_t i = 8; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#');
  OutputText(buffer, 0).Line("text");
  EXPECT_EQ(buffer[0], 'a');
  EXPECT_EQ(OutputText(nullptr, 100).Length(), 0u);
  OutputText(buffer, 1).Line("text");
  EXPECT_STREQ(buffer, "");
  OutputText(buffer, 5).Append("ab\x82\xA0\x82\xA2");  // two kana after "ab"
  EXPECT_STREQ(buffer, "ab\x82\xA0");
  OutputText(buffer, 4).Append("ab\x82\xA0");
  EXPECT_STREQ(buffer, "ab");
}

TEST(CommandLine, SplitsOnBlanksAndKeepsQuotedText) {
  for (const Case& c : ReadCases("lha/data/command_lines.tsv"))
    EXPECT_EQ(SplitCommandLine(c[0]), SplitOn(c[1], '|')) << c[0];
  EXPECT_TRUE(SplitCommandLine("").empty());
}

TEST(CommandLine, ResponseFilesAreReadLineByLine) {
  const std::map<std::string, std::string> files = {
      {"C:\\work\\res1.tmp", "-x1  \"docs/*.*\"\r\n-x0  \"b.gif\r\n\r\n-x0 \"c d.txt\"\r\n"}};
  const ReadWholeFile read = [&files](const std::string& path, std::string& text) {
    const auto f = files.find(path);
    if (f != files.end()) text = f->second;
    return f != files.end();
  };
  std::vector<std::string> words = SplitCommandLine("x -c1 \"a.lzh\" \"C:\\work\\\" \"@C:\\work\\res1.tmp\"");
  std::string error;
  ASSERT_TRUE(ExpandResponseFiles(words, read, error)) << error;
  EXPECT_EQ(words, SplitOn("x|-c1|a.lzh|C:\\work\\|-x1|docs/*.*|-x0|b.gif|-x0|c d.txt", '|'));
  std::vector<std::string> missing = {"x", "a.lzh", "@nowhere"};
  EXPECT_FALSE(ExpandResponseFiles(missing, read, error));
  EXPECT_NE(error.find("nowhere"), std::string::npos);
}

}  // namespace
