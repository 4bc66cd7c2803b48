// The archive commands' rules: command lines, names and rows. (End to end, the lines run
// through our own unlha32.dll on archives checked by lhasa.)
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

#include "archive/archive_command_lines.h"
#include "archive/archive_names.h"
#include "archive/archive_rows.h"
#include "support/case_table.h"
#include "plugins/archive_common/command_line.h"

namespace {

const std::string kSjis = "\x95\x5c\x8e\xa6";  // its second byte is a backslash

TEST(ArchiveCommands, LinesAndNamesFollowTheirRules) {
  const std::map<std::string, std::function<std::string(const Case&)>> rules = {
      {"extract", [](const Case& c) { return ExtractMemberCommand(c[1], c[2], c[3]); }},
      {"rename", [](const Case& c) { return RenameMemberCommand(c[1], c[2], c[3]); }},
      {"ask-rename", [](const Case& c) { return AskRenameMemberCommand(c[1], c[2]); }},
      {"add", [](const Case& c) { return AddFileCommand(c[1], c[2], c[3]); }},
      {"test-extract", [](const Case& c) { return TestExtractCommand(c[1], c[2], c[3]); }},
      {"compress-file", [](const Case& c) { return CompressFileCommand(c[1], c[2], c[3]); }},
      {"compress-folder", [](const Case& c) { return CompressFolderCommand(c[1], c[2], c[3]); }},
      {"switches", [](const Case& c) { return CompressSwitches(c[1] == "1", std::stoi(c[2]), std::stoi(c[3])); }},
      {"copy-name", [](const Case& c) { return ExtractedCopyName(c[1]); }},
      {"upload-path", [](const Case& c) { return MemberUploadPath(c[1]); }},
      {"test-folder", [](const Case& c) { return TestExtractFolderName(c[1]); }},
      {"last-part", [](const Case& c) { return LastPathPart(c[1]); }},
      {"is-lzh", [](const Case& c) { return std::to_string(HasExtensionNoCase(c[1], ".lzh")); }},
      {"is-zip", [](const Case& c) { return std::to_string(HasExtensionNoCase(c[1], ".zip")); }},
  };
  for (const Case& c : ReadCases("archive/data/command_lines.tsv")) EXPECT_EQ(rules.at(c[0])(c), c.back()) << c[0] << " " << c[1];
  EXPECT_EQ(NameListText({"@x", "a*"}), "\r\n@x\r\na*");
  std::string twenty;
  for (int i = 0; i < 20; ++i) twenty += "\r\nn";
  EXPECT_EQ(NameListText(std::vector<std::string>(25, "n")), twenty + "\r\n...");
  const char several[] = "C:\\in\0a.txt\0b c.txt\0";
  EXPECT_EQ(ChosenFiles(several, sizeof several), SplitOn("C:\\in\\a.txt|C:\\in\\b c.txt", '|'));
  const char unended[3] = {'a', 'b', 'c'};  // no zero at all: read no further than its size
  EXPECT_EQ(ChosenFiles(unended, sizeof unended), std::vector<std::string>{"abc"});
}

TEST(ArchiveCommands, LongDeletionsAreSplitWithinTheLimitAndKeepEveryName) {
  const std::string archive = "C:\\some folder\\" + std::string(200, 'a') + ".lzh";
  std::vector<std::string> members, refused, carried;
  for (int i = 0; i < 90; ++i) members.push_back("docs/member number " + std::to_string(i) + " " + kSjis + ".txt");
  members.push_back(std::string(600, 'z'));  // too long to share a command with anything
  for (const std::string& command : DeleteMembersCommands(archive, members)) {
    const std::vector<std::string> words = SplitCommandLine(command);
    ASSERT_GE(words.size(), 3u);
    EXPECT_EQ(words[0] + " " + words[1], "d " + archive);
    EXPECT_TRUE(words.size() == 3 || command.size() <= kDeleteCommandLimit) << command;
    carried.insert(carried.end(), words.begin() + 2, words.end());
  }
  EXPECT_EQ(carried, members);
  EXPECT_EQ(DeleteMembersCommands("C:\\x.lzh", {"a.txt", "*", "-r2", "b c.txt"}, &refused),
            std::vector<std::string>{"d \"C:\\x.lzh\" \"a.txt\" \"b c.txt\""});
  EXPECT_EQ(refused, SplitOn("*|-r2", '|'));
}

TEST(ArchiveRows, MembersBecomeRowsWithTheirStoredDates) {
  OptionsRecord options;
  RowWords words;
  ListRow row;
  unsigned char record[kArchiveEntryRecordSize] = {0xD2, 0x04};  // 1234 bytes
  const uint32_t stamp = ((1999 - 1980) << 9 | 3 << 5 | 7) | (10 << 11 | 5 << 5) << 16;
  std::memcpy(record + 22, &stamp, 4);
  std::memcpy(record + 26, "docs/a.txt", 10);
  ASSERT_TRUE(ArchiveRowOf(ArchiveEntryFacts(record, 0x20), 2, options, ShiftJisAsciiCase(), words, row));
  EXPECT_EQ(row.key, 3002);
  const std::vector<std::string> expected{"docs/a.txt", "1234", "ASCII", "1999/03/07 10:05", "A---"};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(row.texts.column[c], expected[c]) << c;
  std::memcpy(record + 26, "docs\0", 5);
  ASSERT_TRUE(ArchiveRowOf(ArchiveEntryFacts(record, 0x10), 0, options, ShiftJisAsciiCase(), words, row));
  EXPECT_EQ(row.texts.column[1] + row.texts.column[2], "   Folder");
  std::memcpy(record + 26, "..\0", 3);
  EXPECT_FALSE(ArchiveRowOf(ArchiveEntryFacts(record, 0), 0, options, ShiftJisAsciiCase(), words, row));
  // A name that fills its field without a zero is cut at the field, never read beyond it.
  std::memset(record + 26, 'n', kArchiveEntryRecordSize - 26);
  EXPECT_EQ(ArchiveEntryFacts(record, 0).name, std::string(513, 'n'));
}

}  // namespace
