// Per-file rules: extension keys, list matching, classes, modes, name case, the
// send/receive-only-updated tests and the permission rules.
#include <gtest/gtest.h>

#include "jobs/transfer_rules.h"

namespace {

const TextCase& tc = ShiftJisAsciiCase();

TEST(ExtensionKey, LastSingleByteDotCounts) {
  EXPECT_EQ(ExtensionKey("index.HTML"), "HTML");
  EXPECT_EQ(ExtensionKey("a.tar.gz"), "gz");
  EXPECT_EQ(ExtensionKey("Makefile"), "Makefile");
  EXPECT_EQ(ExtensionKey("readme."), "");
  EXPECT_EQ(ExtensionKey(".htaccess"), "htaccess");
  // No dot can be the second byte of a Shift-JIS character, but the test still looks back
  // two bytes: after a byte that only looks like a lead byte because it is itself a second
  // byte (0x88 0x9F = one character), the dot is a separator...
  EXPECT_EQ(ExtensionKey("a\x88\x9F.txt"), "txt");
  // ...while a dot right after a lone lead byte is taken as its second half, so the
  // earlier dot is the one that counts.
  EXPECT_EQ(ExtensionKey("x.cgi\x81.txt"), "cgi\x81.txt");
}

TEST(MatchExtensionList, EntriesSeparatorsAndCase) {
  const std::string defaults = "txt;html;shtml;cgi;sh;pl;java;htm;log";
  EXPECT_TRUE(MatchExtensionList(defaults, "TXT", tc));
  EXPECT_TRUE(MatchExtensionList(defaults, "log", tc));
  EXPECT_FALSE(MatchExtensionList(defaults, "tx", tc));
  EXPECT_FALSE(MatchExtensionList(defaults, "txt;html", tc));
  // Blanks are part of an entry.
  EXPECT_FALSE(MatchExtensionList("txt; html", "html", tc));
  EXPECT_TRUE(MatchExtensionList("txt; html", " html", tc));
  // Empty entries match only the empty key, and an empty list is one empty entry.
  EXPECT_FALSE(MatchExtensionList("txt;html", "", tc));
  for (const char* list : {"txt;;html", ";txt", "txt;", ""}) {
    EXPECT_TRUE(MatchExtensionList(list, "", tc)) << list;
    EXPECT_FALSE(MatchExtensionList(list, "x", tc)) << list;
  }
  // A ';' right after a lead byte is that character's second half, not a separator.
  EXPECT_TRUE(MatchExtensionList("\x81;x;txt", "\x81;x", tc));
  EXPECT_FALSE(MatchExtensionList("\x81;x;txt", "x", tc));
  // Keys longer than the list can hold match nothing, even an equal entry.
  std::string longKey(128, 'k');
  EXPECT_FALSE(MatchExtensionList(longKey, longKey, tc));
  EXPECT_TRUE(MatchExtensionList(longKey.substr(1), longKey.substr(1), tc));
  EXPECT_FALSE(MatchExtensionList(std::string(64, 'k'), std::string(64, 'k'), tc, kPermissionKeyLimit));
}

TEST(MatchExtensionList, ShiftJisSecondBytesAreNotFolded) {
  // 0x83 0x41 and 0x83 0x61 are two different katakana; an ASCII fold must not join them.
  EXPECT_FALSE(MatchExtensionList("\x83\x41", "\x83\x61", tc));
  EXPECT_TRUE(MatchExtensionList("\x83\x41Txt", "\x83\x41tXT", tc));
}

TEST(ClassifyEntry, DefaultListsAndOrder) {
  OptionsRecord o;
  EXPECT_EQ(ClassifyEntry(0, "NOTES.TXT", o, tc), ClassAscii);
  EXPECT_EQ(ClassifyEntry(0, "photo.JPG", o, tc), ClassBinary);
  EXPECT_EQ(ClassifyEntry(0, "archive.tar", o, tc), ClassOther);
  EXPECT_EQ(ClassifyEntry(0, "Makefile", o, tc), ClassOther);
  EXPECT_EQ(ClassifyEntry(0, "readme.", o, tc), ClassOther);
  EXPECT_EQ(ClassifyEntry(0x10, "pub.txt", o, tc), ClassFolder);
  EXPECT_EQ(ClassifyEntry(0x10 | 0x01, "..", o, tc), ClassParentFolder);
  EXPECT_EQ(ClassifyEntry(0, "..", o, tc), ClassOther);  // only a folder is the parent
  o.AsciiType += ";makefile;jpg";
  EXPECT_EQ(ClassifyEntry(0, "Makefile", o, tc), ClassAscii);
  EXPECT_EQ(ClassifyEntry(0, "x.jpg", o, tc), ClassBinary);  // binary list wins
  o.AsciiType += ";";
  EXPECT_EQ(ClassifyEntry(0, "readme.", o, tc), ClassAscii);
}

TEST(ChooseTransferMode, AutoAndManual) {
  OptionsRecord o;
  o.Auto = 1;
  EXPECT_EQ(ChooseTransferMode("archive.tar", kModeBinary, o, tc), kModeBinary);
  EXPECT_EQ(ChooseTransferMode("archive.tar", kModeAscii, o, tc), kModeAscii);
  EXPECT_EQ(ChooseTransferMode("NOTES.TXT", kModeBinary, o, tc), kModeAscii);
  EXPECT_EQ(ChooseTransferMode("photo.jpg", kModeAscii, o, tc), kModeBinary);
  o.Auto = 0;
  EXPECT_EQ(ChooseTransferMode("NOTES.TXT", kModeBinary, o, tc), kModeBinary);
  EXPECT_EQ(ChooseTransferMode("photo.jpg", kModeAscii, o, tc), kModeAscii);
}

TEST(ApplyNameCase, ModesAndShiftJis) {
  OptionsRecord o;
  std::string name = "Run.CGI";
  EXPECT_EQ(ApplyNameCase(name, o, tc), "Run.CGI");  // default 2: unchanged
  o.CapitalMode = 0;
  EXPECT_EQ(ApplyNameCase(name, o, tc), "run.cgi");
  EXPECT_EQ(name, "run.cgi");  // in place
  o.CapitalMode = 1;
  // The second byte of 0x83 0x61 is an ASCII 'a' to a byte-wise mapping.
  std::string sjis = "\x83\x61z.txt";
  EXPECT_EQ(ApplyNameCase(sjis, o, tc), "\x83\x61Z.TXT");
  o.CapitalMode = 0;
  sjis = "\x83\x41Z.TXT";
  EXPECT_EQ(ApplyNameCase(sjis, o, tc), "\x83\x41z.txt");
}

TEST(UpdatedOnly, DateAndSizeTests) {
  const std::string ten = "2024/05/01 10:00", tenThirty = "2024/05/01 10:30";
  EXPECT_TRUE(IsNewerDateText(tenThirty, ten, tc));
  EXPECT_FALSE(IsNewerDateText(ten, tenThirty, tc));
  EXPECT_FALSE(IsNewerDateText(ten, ten, tc));
  EXPECT_TRUE(IsNewerDateText("2025/01/01 00:00", "2024/12/31 23:59", tc));

  // Upload: no namesake -> sent; equal dates -> not sent; both bits -> both must pass.
  EXPECT_TRUE(ShouldSendFile(1, ten, "5", false, "", "", tc));
  EXPECT_FALSE(ShouldSendFile(1, ten, "5", true, ten, "5", tc));
  EXPECT_TRUE(ShouldSendFile(1, tenThirty, "5", true, ten, "5", tc));
  EXPECT_TRUE(ShouldSendFile(0, ten, "5", true, tenThirty, "5", tc));
  EXPECT_FALSE(ShouldSendFile(2, ten, "5", true, tenThirty, "5", tc));
  EXPECT_TRUE(ShouldSendFile(2, ten, "6", true, tenThirty, "5", tc));
  EXPECT_FALSE(ShouldSendFile(3, ten, "6", true, tenThirty, "5", tc));
  EXPECT_FALSE(ShouldSendFile(3, tenThirty, "5", true, ten, "5", tc));
  EXPECT_TRUE(ShouldSendFile(3, tenThirty, "6", true, ten, "5", tc));
  // Sizes beyond 32 bits must not be compared by their low words.
  EXPECT_TRUE(ShouldSendFile(2, ten, "4294967297", true, ten, "1", tc));
  EXPECT_FALSE(ShouldSendFile(2, ten, "5368709120", true, ten, "5368709120", tc));

  // Download with a 30 minute lag already in the remote text.
  EXPECT_TRUE(ShouldReceiveFile(1, tenThirty, true, "2024/05/01 10:29", tc));
  EXPECT_FALSE(ShouldReceiveFile(1, tenThirty, true, tenThirty, tc));
  EXPECT_TRUE(ShouldReceiveFile(1, tenThirty, false, "", tc));
  EXPECT_TRUE(ShouldReceiveFile(0, ten, true, tenThirty, tc));
}

TEST(FindPermissionRule, RulesAndCase) {
  OptionsRecord o;
  EXPECT_EQ(FindPermissionRule("run.CGI", o, tc), 0);
  EXPECT_EQ(PermissionOfRule(0, o), "755");
  EXPECT_EQ(FindPermissionRule("data.log", o, tc), 1);
  EXPECT_EQ(PermissionOfRule(1, o), "646");
  EXPECT_EQ(FindPermissionRule("a.txt", o, tc), -1);
  o.ChmodType2 += ";cgi";
  EXPECT_EQ(FindPermissionRule("run.cgi", o, tc), 0);  // rule 1 wins
  // The name after case conversion is what gets the permission.
  o.CapitalMode = 0;
  std::string name = "run.CGI";
  ApplyNameCase(name, o, tc);
  EXPECT_EQ(name, "run.cgi");
  EXPECT_EQ(FindPermissionRule(name, o, tc), 0);
}

}  // namespace
