// The command lines the program hands the archive libraries: their exact texts, the names
// they refuse to carry, the split of long deletions, and the same lines run through the LHA
// library's own code on real archives (names with blanks and Shift-JIS among them).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "archive/archive_command_lines.h"
#include "archive/archive_names.h"
#include "archive/archive_rows.h"
#include "lha/plugin_test_support.h"
#include "plugins/archive_common/command_line.h"

namespace {

const std::string kSjis = "\x95\x5c\x8e\xa6";  // its second byte is a backslash

TEST(ArchiveCommandLines, EveryNameAndPathIsOneQuotedWord) {
  EXPECT_EQ(ExtractMemberCommand("C:\\my files\\data.lzh", "C:\\tmp\\vakotmp1\\", "docs/read me.txt"),
            "e \"C:\\my files\\data.lzh\" \"C:\\tmp\\vakotmp1\\\" \"docs/read me.txt\"");
  EXPECT_EQ(RenameMemberCommand("new name.txt", "C:\\a b\\x.lzh", "old name.txt"),
            "n \"-grnew name.txt\" \"C:\\a b\\x.lzh\" \"old name.txt\"");
  EXPECT_EQ(AskRenameMemberCommand("C:\\x.lzh", kSjis + ".txt"), "n \"C:\\x.lzh\" \"" + kSjis + ".txt\"");
  EXPECT_EQ(AddFileCommand("C:\\x.lzh", "C:\\work\\", "got it.bin"), "a \"C:\\x.lzh\" \"C:\\work\\\" \"got it.bin\"");
  EXPECT_EQ(TestExtractCommand("x", "C:\\src\\tools.lzh", "C:\\test\\tools"),
            "x \"C:\\src\\tools.lzh\" \"C:\\test\\tools\\\"");
  EXPECT_EQ(TestExtractCommand("-x", "C:\\src\\data.ZIP", "C:\\test\\data"),
            "-x \"C:\\src\\data.ZIP\" \"C:\\test\\data\\\"");
  EXPECT_EQ(CompressSwitches(true, 0, 1), "-r2 -x1  -a1");
  EXPECT_EQ(CompressSwitches(true, 1, 1), "-r2 -x1 -i1 -a1");
  EXPECT_EQ(CompressSwitches(false, 0, 1), " -a1");
  EXPECT_EQ(CompressSwitches(false, 0, 0), "");
  EXPECT_EQ(CompressFolderCommand(CompressSwitches(true, 0, 1), "C:\\web\\x.lzh", "site"),
            "a -jm2 -r2 -x1  -a1 \"C:\\web\\x.lzh\" \"site\\*.*\"");
  EXPECT_EQ(CompressFileCommand("-i1", "C:\\x.lzh", "C:\\in\\a b.txt"), "a -jm2 -i1 \"C:\\x.lzh\" \"C:\\in\\a b.txt\"");
  // A relative path that the library would take for a switch or a response file.
  EXPECT_EQ(CompressFolderCommand("", "C:\\x.lzh", "-r2"), "a -jm2  \"C:\\x.lzh\" \".\\-r2\\*.*\"");
  EXPECT_EQ(ExtractMemberCommand("@list.lzh", "C:\\w\\", "a"), "e \".\\@list.lzh\" \"C:\\w\\\" \"a\"");
}

TEST(ArchiveCommandLines, NamesTheLibraryWouldReadOtherwiseAreNeverSent) {
  for (const std::string& bad : std::vector<std::string>{"-x0", "@C:\\list", "a\"b", "all*", "a?c", "two\r\nlines", "", "t\tab"}) {
    EXPECT_FALSE(MemberWord(bad)) << bad;
    EXPECT_EQ(ExtractMemberCommand("C:\\x.lzh", "C:\\w\\", bad), "") << bad;
    EXPECT_EQ(RenameMemberCommand(bad, "C:\\x.lzh", "ok.txt"), "") << bad;
    EXPECT_EQ(RenameMemberCommand("ok.txt", "C:\\x.lzh", bad), "") << bad;
  }
  std::vector<std::string> refused;
  const auto commands = DeleteMembersCommands("C:\\x.lzh", {"a.txt", "*", "-r2", "b c.txt"}, &refused);
  EXPECT_EQ(commands, std::vector<std::string>{"d \"C:\\x.lzh\" \"a.txt\" \"b c.txt\""});
  EXPECT_EQ(refused, (std::vector<std::string>{"*", "-r2"}));
  EXPECT_FALSE(PathWord("C:\\a\"b"));
  EXPECT_EQ(TestExtractCommand("x", "C:\\a\nb.lzh", "C:\\t"), "");
}

TEST(ArchiveCommandLines, LongDeletionsAreSplitWithinTheLimitAndKeepEveryName) {
  const std::string archive = "C:\\some folder\\" + std::string(200, 'a') + ".lzh";
  std::vector<std::string> members;
  for (int i = 0; i < 90; ++i) members.push_back("docs/member number " + std::to_string(i) + " " + kSjis + ".txt");
  members.push_back(std::string(600, 'z'));  // too long to share a command with anything
  members.push_back("last.txt");
  const std::vector<std::string> commands = DeleteMembersCommands(archive, members);
  ASSERT_GT(commands.size(), 5u);
  std::vector<std::string> carried;
  for (const std::string& command : commands) {
    const std::vector<std::string> words = SplitCommandLine(command);
    ASSERT_GE(words.size(), 3u);
    EXPECT_EQ(words[0], "d");
    EXPECT_EQ(words[1], archive);
    if (words.size() > 3) {
      EXPECT_LE(command.size(), kDeleteCommandLimit) << command;
    }
    carried.insert(carried.end(), words.begin() + 2, words.end());
  }
  EXPECT_EQ(carried, members);
}

TEST(ArchiveNames, CopiesFoldersKindsAndChoices) {
  EXPECT_EQ(ExtractedCopyName("docs/deep/a.txt"), "a.txt");
  EXPECT_EQ(ExtractedCopyName("docs\\a.txt"), "a.txt");
  EXPECT_EQ(ExtractedCopyName(kSjis + ".txt"), kSjis + ".txt");  // the 0x5C is no separator
  EXPECT_EQ(ExtractedCopyName("dir/" + kSjis), kSjis);
  for (const std::string& bad : std::vector<std::string>{"", "docs/", "a/..", "..", "x/.", "C:evil", "a/b:stream"})
    EXPECT_EQ(ExtractedCopyName(bad), "") << bad;

  EXPECT_EQ(TestExtractFolderName("tools.lzh"), "tools");
  EXPECT_EQ(TestExtractFolderName("sub\\x.y.LZH"), "x.y");
  EXPECT_EQ(TestExtractFolderName(kSjis + ".lzh"), kSjis);
  EXPECT_EQ(TestExtractFolderName("noext"), "noext");

  EXPECT_TRUE(HasExtensionNoCase("DATA.LZH", ".lzh"));
  EXPECT_TRUE(HasExtensionNoCase("data.ZiP", ".zip"));
  EXPECT_FALSE(HasExtensionNoCase("lzh", ".lzh"));
  EXPECT_FALSE(HasExtensionNoCase("data.lzh.txt", ".lzh"));

  EXPECT_EQ(LastPathPart("C:\\web\\site"), "site");
  EXPECT_EQ(LastPathPart("C:site"), "site");
  EXPECT_EQ(LastPathPart("C:\\web\\" + kSjis), kSjis);

  const char single[] = "C:\\in\\one file.txt\0";
  EXPECT_EQ(ChosenFiles(single, sizeof single), std::vector<std::string>{"C:\\in\\one file.txt"});
  const char several[] = "C:\\in\0a.txt\0b c.txt\0";
  EXPECT_EQ(ChosenFiles(several, sizeof several), (std::vector<std::string>{"C:\\in\\a.txt", "C:\\in\\b c.txt"}));
  const char unended[3] = {'a', 'b', 'c'};  // no zero at all: read no further than its size
  EXPECT_EQ(ChosenFiles(unended, sizeof unended), std::vector<std::string>{"abc"});
}

TEST(ArchiveRows, MembersBecomeRowsWithTheirStoredDates) {
  OptionsRecord options;
  RowWords words;
  unsigned char record[kArchiveEntryRecordSize] = {};
  record[0] = 0xD2;  // 1234
  record[1] = 0x04;
  const uint16_t date = static_cast<uint16_t>(((1999 - 1980) << 9) | (3 << 5) | 7), time = (10 << 11) | (5 << 5);
  record[22] = date & 0xFF;
  record[23] = static_cast<unsigned char>(date >> 8);
  record[24] = time & 0xFF;
  record[25] = static_cast<unsigned char>(time >> 8);
  std::memcpy(record + 26, "docs/a.txt", 10);
  ListRow row;
  ASSERT_TRUE(ArchiveRowOf(ArchiveEntryFacts(record, 0x20), 2, options, ShiftJisAsciiCase(), words, row));
  EXPECT_EQ(row.key, 3002);
  const std::vector<std::string> expected{"docs/a.txt", "1234", "ASCII", "1999/03/07 10:05", "A---"};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(row.texts.column[c], expected[c]) << c;

  std::memcpy(record + 26, "b.gif\0", 6);
  ASSERT_TRUE(ArchiveRowOf(ArchiveEntryFacts(record, 0x20), 0, options, ShiftJisAsciiCase(), words, row));
  EXPECT_EQ(row.texts.column[2], "BINARY");
  std::memcpy(record + 26, "docs\0", 5);
  ASSERT_TRUE(ArchiveRowOf(ArchiveEntryFacts(record, 0x10), 0, options, ShiftJisAsciiCase(), words, row));
  EXPECT_EQ(row.texts.column[1], "   ");
  EXPECT_EQ(row.texts.column[2], "Folder");
  std::memcpy(record + 26, "..\0", 3);
  EXPECT_FALSE(ArchiveRowOf(ArchiveEntryFacts(record, 0), 0, options, ShiftJisAsciiCase(), words, row));
  // A name that fills its field without a zero is cut at the field, never read beyond it.
  std::memset(record + 26, 'n', kArchiveEntryRecordSize - 26);
  EXPECT_EQ(ArchiveEntryFacts(record, 0).name, std::string(513, 'n'));
}

// The lines run through the LHA library's own code (with POSIX paths, where it reads a
// backslash as '/').
std::string Members(const std::string& folder, const std::string& archive) {
  LhaRun run = RunLha(folder, "l \"" + archive + "\"");
  return run.output;
}

TEST(ArchiveCommandLines, TheLibraryCarriesThemOutOnRealArchives) {
  ScratchFolder dir;
  const std::string archive = dir / "my archive.lzh";
  std::vector<std::string> names;
  for (int i = 0; i < 60; ++i) {
    names.push_back("member number " + std::to_string(i) + " with blanks.txt");
    WriteFile(dir / ("in/" + names.back()), TextData(100 + i, i));
  }
  WriteFile(dir / ("in/" + kSjis + " keep.txt"), "keep");
  std::string add = "a -jm2  \"" + archive + "\" \"" + dir.path() + "/in/\\*.*\"";
  ASSERT_EQ(RunLha(dir.path(), add).result, 0);

  // Delete of all sixty in several commands; the Shift-JIS member stays.
  const std::vector<std::string> commands = DeleteMembersCommands(archive, names);
  EXPECT_GT(commands.size(), 1u);
  for (const std::string& command : commands) ASSERT_EQ(RunLha(dir.path(), command).result, 0) << command;
  const std::string left = Members(dir.path(), archive);
  EXPECT_NE(left.find(kSjis + " keep.txt"), std::string::npos) << left;
  EXPECT_EQ(left.find("member number"), std::string::npos) << left;

  // Rename to a name with blanks, add from a folder with blanks, extract one member.
  ASSERT_EQ(RunLha(dir.path(), RenameMemberCommand("re named.txt", archive, kSjis + " keep.txt")).result, 0);
  WriteFile(dir / "work dir/got it.bin", NoiseData(3000, 9));
  ASSERT_EQ(RunLha(dir.path(), AddFileCommand(archive, dir.path() + "/work dir/", "got it.bin")).result, 0);
  ASSERT_EQ(RunLha(dir.path(), ExtractMemberCommand(archive, dir.path() + "/out dir/", "re named.txt")).result, 0);
  EXPECT_EQ(ReadFile(dir / "out dir/re named.txt"), "keep");
  ASSERT_EQ(RunLha(dir.path(), ExtractMemberCommand(archive, dir.path() + "/out dir/", "got it.bin")).result, 0);
  EXPECT_EQ(ReadFile(dir / "out dir/got it.bin"), NoiseData(3000, 9));
}

}  // namespace
