// The platform-free rules of the shell integration: how a drag ends for each state and
// cursor place (a table in data/), the archive extraction's command, response file and
// placeholders, and the entries a local item's menu gains from its name.
#include <gtest/gtest.h>

#include "support/case_table.h"
#include "shell/archive_extraction.h"
#include "shell/context_menu_rules.h"
#include "shell/drag_decisions.h"

namespace {

TEST(DragEnd, EveryRowOfTheTable) {
  const char* const answers[] = {"GoOn", "Cancel", "Drop", "DownloadThenDrop", "ExtractThenDrop"};
  const std::vector<Case> rows = ReadCases("shell/data/drag_ends.tsv");
  for (const Case& row : rows) {
    ASSERT_EQ(row.size(), 7u);
    const DragAnswer got = DecideDragEnd(row[0] == "local" ? DragSourceKind::Local : DragSourceKind::Remote,
                                         row[1] == "1", row[2] == "1", std::stol(row[3]), std::stol(row[4]),
                                         {0, 100, 400, 500}, {400, 100, 800, 500}, row[5] == "1");
    EXPECT_EQ(answers[static_cast<int>(got)], row[6]) << row[0] << " " << row[3] << "," << row[4];
  }
  EXPECT_GT(rows.size(), 10u);
}

const std::string kWork = "C:\\TEMP\\vakotmp0\\";
const std::string kResponse = "C:\\TEMP\\vakotmp0\\res1.tmp";

TEST(ArchiveExtraction, ShortPathsStandInTheCommandAndEachMemberHasItsResponseLine) {
  ArchiveExtraction x;
  ASSERT_TRUE(BuildArchiveExtraction("C:\\data\\pack.lzh", kWork, kResponse,
                                     {{"readme.txt", false}, {"docs", true}, {"src/main.c", false}}, x));
  EXPECT_EQ(x.command, "x -c1 -m1 \"C:\\data\\pack.lzh\" \"C:\\TEMP\\vakotmp0\\\" \"@C:\\TEMP\\vakotmp0\\res1.tmp\"");
  EXPECT_EQ(x.response, "-x0  \"readme.txt\"\r\n-x1  \"docs/*.*\"\r\n-x0  \"src/main.c\"\r\n");
  // A member in a folder comes out without its folder part, as -x0 extracts it.
  EXPECT_EQ(x.placeholders, (std::vector<std::string>{"readme.txt", "docs", "main.c"}));
  EXPECT_EQ(x.placeholderIsFolder, (std::vector<bool>{false, true, false}));
}

TEST(ArchiveExtraction, LongPathsMoveIntoTheResponseFileAndTheCommandNeverPassesItsRoom) {
  const std::string deep = "C:\\" + std::string(230, 'a') + "\\pack.lzh";
  ArchiveExtraction x;
  ASSERT_TRUE(BuildArchiveExtraction(deep, kWork, kResponse, {{"one.txt", false}}, x));
  EXPECT_EQ(x.command, "x -c1 -m1 \"@C:\\TEMP\\vakotmp0\\res1.tmp\"");
  EXPECT_EQ(x.response, "\"" + deep + "\" \"" + kWork + "\"\r\n-x0  \"one.txt\"\r\n");
  // A command that would just fit stays whole; one byte more moves the paths.
  const std::string head = "x -c1 -m1 \"\" \"" + kWork + "\" \"@" + kResponse + "\"";
  const std::string fits = std::string(kArchiveCommandRoom - head.size(), 'b');
  ASSERT_TRUE(BuildArchiveExtraction(fits, kWork, kResponse, {{"one.txt", false}}, x));
  EXPECT_EQ(x.command.size(), kArchiveCommandRoom);
  ASSERT_TRUE(BuildArchiveExtraction(fits + "b", kWork, kResponse, {{"one.txt", false}}, x));
  EXPECT_EQ(x.command.find(fits), std::string::npos);
  // Even the response file's own path too long: refused, nothing built.
  EXPECT_FALSE(BuildArchiveExtraction(deep, kWork, "C:\\" + std::string(300, 'r'), {{"one.txt", false}}, x));
  EXPECT_TRUE(x.command.empty());
  EXPECT_TRUE(x.placeholders.empty());
}

TEST(ArchiveExtraction, MembersWithoutANameOfTheirOwnAreLeftOutAndAtMost256Carried) {
  ArchiveExtraction x;
  ASSERT_TRUE(BuildArchiveExtraction("a.lzh", kWork, kResponse,
                                     {{"../evil.txt", false},  // extracts as evil.txt: harmless
                                      {"bad\"quote.txt", false}, {"c:x.txt", false},
                                      {"dir/sub", true},  // a folder below a folder
                                      {"dir/..", false}, {"top/", true},
                                      {"EVIL.TXT", false},  // the same placeholder again
                                      {"", false}},
                                     x));
  EXPECT_EQ(x.placeholders, (std::vector<std::string>{"evil.txt", "top"}));
  EXPECT_EQ(x.response, "-x0  \"../evil.txt\"\r\n-x1  \"top/*.*\"\r\n");
  std::vector<ArchiveMember> many;
  for (int i = 0; i < 300; ++i) many.push_back({"f" + std::to_string(i), false});
  ASSERT_TRUE(BuildArchiveExtraction("a.lzh", kWork, kResponse, many, x));
  ASSERT_EQ(x.placeholders.size(), kMaxDraggedMembers);
  EXPECT_EQ(x.placeholders.back(), "f255");
  // "table" (0x95 0x5C) ends in a backslash byte that separates nothing.
  EXPECT_EQ(PlaceholderNameOfMember("dir/\x95\x5c.txt", false), "\x95\x5c.txt");
  EXPECT_EQ(PlaceholderNameOfMember("\x95\x5c", true), "\x95\x5c");
}

// Which menu each place opens is seen in shell_wine's right clicks; here the name rules.
TEST(ContextMenus, TheEntriesANameAdds) {
  using case_table::Args;
  case_table::RunCases("shell/data/name_rules.tsv",
                       {{"test-extract", [](const Args& a) { return case_table::Bool(OffersTestExtract(a[0])); }},
                        {"link-analyzer", [](const Args& a) { return case_table::Bool(OffersLinkAnalyzer(a[0])); }}});
}

}  // namespace
