// The shared archive safety code: member names, the bounded output text, command lines.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "support/case_table.h"
#include "plugins/archive_common/command_line.h"
#include "plugins/archive_common/member_path.h"
#include "plugins/archive_common/output_text.h"

namespace {

// Member names normalised or refused, joined to the destination; command lines split.
TEST(ArchiveCommon, EveryCaseOfTheTable) {
  using namespace case_table;
  RunCases("lha/data/archive_common.tsv",
           {{"path", [](const Args& a) {
              const MemberPath p = CheckMemberPath(a[0]);
              if (!p.ok) return std::string(p.problem.empty() ? "refused without a reason" : "refused");
              return MemberPathText(p) + (p.is_folder ? " (folder)" : "");
            }},
            {"join", [](const Args& a) { return JoinMemberPath(a[0], CheckMemberPath(a[1]), a[2][0]); }},
            {"ends", [](const Args& a) { return Bool(EndsWithSeparator(a[0])); }},
            {"split", [](const Args& a) { return List(SplitCommandLine(a[0])); }}});
  EXPECT_TRUE(CheckMemberPath(std::string(1023, 'a')).ok);
  EXPECT_FALSE(CheckMemberPath(std::string(1024, 'a')).ok);
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
