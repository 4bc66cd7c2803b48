// The platform-free rules of the shell integration (cases in data/shell_rules.tsv), and the
// archive extraction's limits: paths too long for the command, too many members.
#include <gtest/gtest.h>

#include "support/case_table.h"
#include "shell/archive_extraction.h"
#include "shell/context_menu_rules.h"
#include "shell/drag_decisions.h"

namespace {

const std::string kWork = "C:\\TEMP\\vakotmp0\\";
const std::string kResponse = "C:\\TEMP\\vakotmp0\\res1.tmp";

// "name (folder)" for a folder member, the name alone for a file.
std::pair<std::string, bool> Member(const std::string& text) {
  const size_t mark = text.rfind(" (folder)");
  return mark == std::string::npos ? std::pair{text, false} : std::pair{text.substr(0, mark), true};
}

// How a drag ends for each state and cursor place, the extraction's command, response file
// and placeholders, and the entries a local item's menu gains from its name (which menu
// each place opens is seen in shell_wine's right clicks).
TEST(ShellRules, EveryCaseOfTheTable) {
  using namespace case_table;
  RunCases("shell/data/shell_rules.tsv",
           {{"drag-end", [](const Args& a) {
              const char* const answers[] = {"GoOn", "Cancel", "Drop", "DownloadThenDrop", "ExtractThenDrop"};
              return answers[static_cast<int>(DecideDragEnd(
                  a[0] == "local" ? DragSourceKind::Local : DragSourceKind::Remote, a[1] == "1", a[2] == "1",
                  std::stol(a[3]), std::stol(a[4]), {0, 100, 400, 500}, {400, 100, 800, 500}, a[5] == "1"))];
            }},
            {"extract", [](const Args& a) {
              std::vector<ArchiveMember> members;
              for (size_t i = 1; i < a.size(); ++i) members.push_back({Member(a[i]).first, Member(a[i]).second});
              ArchiveExtraction x;
              if (!BuildArchiveExtraction(a[0], kWork, kResponse, members, x)) return std::string("refused");
              std::vector<std::string> placeholders;
              for (size_t i = 0; i < x.placeholders.size(); ++i)
                placeholders.push_back(x.placeholders[i] + (x.placeholderIsFolder[i] ? " (folder)" : ""));
              return x.command + " | " + x.response + " | " + List(placeholders);
            }},
            {"placeholder", [](const Args& a) { return PlaceholderNameOfMember(Member(a[0]).first, Member(a[0]).second); }},
            {"test-extract", [](const Args& a) { return Bool(OffersTestExtract(a[0])); }},
            {"link-analyzer", [](const Args& a) { return Bool(OffersLinkAnalyzer(a[0])); }}});
}

TEST(ArchiveExtraction, LongPathsMoveIntoTheResponseFileAndManyMembersAreCut) {
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
  // At most 256 members are carried.
  std::vector<ArchiveMember> many;
  for (int i = 0; i < 300; ++i) many.push_back({"f" + std::to_string(i), false});
  ASSERT_TRUE(BuildArchiveExtraction("a.lzh", kWork, kResponse, many, x));
  ASSERT_EQ(x.placeholders.size(), kMaxDraggedMembers);
  EXPECT_EQ(x.placeholders.back(), "f255");
}

}  // namespace
