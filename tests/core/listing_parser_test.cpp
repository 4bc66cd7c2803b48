// The listing parser line by line: word positions, column repair, kinds, sizes, dates,
// names that must not reach the local side, and the time-lag carry.
#include <gtest/gtest.h>

#include "ftp/listing_parser.h"
#include "support/shift_jis_samples.h"

namespace {

ListingClock March2024() {
  ListingClock c;
  c.year = 2024;
  c.month = 3;
  return c;
}

std::vector<ListedEntry> Parse(const std::string& text) { return ParseListing(text, March2024()); }

const ListedEntry& Only(const std::vector<ListedEntry>& v) {
  EXPECT_EQ(v.size(), 1u);
  static ListedEntry none;
  return v.empty() ? none : v[0];
}

TEST(ListingParser, ThreeLineExample) {
  auto v = Parse("total 2\r\n"
                 "drwxr-xr-x   2 owner  group   512 Jan 10 10:00 pub\r\n"
                 "-rw-r--r--   1 owner  group  1234 Jan 10  1999 a.txt\r\n");
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].entry.name, "pub");
  EXPECT_EQ(v[0].entry.attributes, 0x10u);
  EXPECT_EQ(RemoteSizeText(v[0].entry), "   ");
  EXPECT_EQ(v[0].permissions, "drwxr-xr-x");
  EXPECT_EQ(RemoteDateText(v[0].date, 0), "2024/01/10 10:00");
  EXPECT_EQ(v[1].entry.name, "a.txt");
  EXPECT_EQ(v[1].entry.attributes, 0u);
  EXPECT_EQ(RemoteSizeText(v[1].entry), "1234");
  EXPECT_EQ(RemoteDateText(v[1].date, 0), "1999/01/10 00:00");
}

TEST(ListingParser, FirstEntryKeptWithoutTotalLine) {
  auto v = Parse("-rw-r--r-- 1 o g 1 Jan 10 1999 first\r\n-rw-r--r-- 1 o g 2 Jan 10 1999 second\r\n");
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].entry.name, "first");
}

TEST(ListingParser, LineEndsAndBlankLines) {
  const std::string a = "-rw-r--r-- 1 o g 1 Jan 10 1999 a\n";
  const std::string b = "-rw-r--r-- 1 o g 2 Jan 10 1999 b";
  for (const std::string& text : {a + "\n" + b, a + "\r\n\r\n" + b + "\r\n", a + "   \n\n" + b + "\n"}) {
    auto v = Parse(text);
    ASSERT_EQ(v.size(), 2u) << text;
    EXPECT_EQ(v[0].entry.name, "a");  // no character lost at an LF-only line end
    EXPECT_EQ(v[1].entry.name, "b");  // a last line without its line end counts
  }
}

TEST(ListingParser, NameIsRestOfLine) {
  EXPECT_EQ(Only(Parse("-rw-r--r-- 1 o g 10 Mar  1 12:00 my  file name.txt\r\n")).entry.name,
            "my  file name.txt");
  // A link is named by the part before the arrow; the target decides its kind.
  auto link = Only(Parse("lrwxrwxrwx 1 o g 7 Mar 1 12:00 my docs -> ../share/docs\r\n"));
  EXPECT_EQ(link.entry.name, "my docs");
  EXPECT_EQ(link.entry.attributes, 0u);  // the target holds a dot: a file
  auto folderLink = Only(Parse("lrwxrwxrwx 1 o g 7 Mar 1 12:00 www -> public_html\r\n"));
  EXPECT_EQ(folderLink.entry.name, "www");
  EXPECT_EQ(folderLink.entry.attributes, 0x10u);
  EXPECT_EQ(RemoteSizeText(folderLink.entry), "   ");
  auto fileLink = Only(Parse("lrwxrwxrwx 1 o g 9 Mar 1 12:00 cur -> index.htm\r\n"));
  EXPECT_EQ(fileLink.entry.attributes, 0u);
  EXPECT_EQ(RemoteSizeText(fileLink.entry), "9");
}

TEST(ListingParser, UnsafeNamesGiveNoRow) {
  const char* refused[] = {"a/b", "a\\b", "c:x", "x\x01y", ".", "..", " ..", "dot.",
                           "space ", "con", "NUL.txt", "com1", "Lpt9.log", "a*b", "a?b",
                           "a|b", "a\"b", "a<b", "a>b", "x\x7fy"};
  for (const char* name : refused) {
    std::string line = std::string("-rw-r--r-- 1 o g 1 Mar 1 12:00 ") + name + "\r\n";
    EXPECT_TRUE(Parse(line).empty()) << name;
  }
  // A CR inside a listing line ends the line: the rest never reaches a name.
  auto v = Parse("-rw-r--r-- 1 o g 1 Mar 1 12:00 evil\rRETR x\r\n");
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].entry.name, "evil");
  // Shift-JIS second bytes 0x5C and 0x7C are not separators or pipes.
  EXPECT_EQ(Only(Parse("-rw-r--r-- 1 o g 1 Mar 1 12:00 \x95\x5c.txt\r\n")).entry.name, "\x95\x5c.txt");
  EXPECT_EQ(Only(Parse("-rw-r--r-- 1 o g 1 Mar 1 12:00 \x83\x7c.txt\r\n")).entry.name, "\x83\x7c.txt");
  EXPECT_TRUE(IsSafeRemoteName("console.txt"));
  EXPECT_TRUE(IsSafeRemoteName("com10"));
  EXPECT_TRUE(IsSafeRemoteName(".htaccess"));
  EXPECT_TRUE(IsSafeRemoteName(" leading"));
}

// Names whose 0x5C or 0x7C second byte follows a character whose own second byte is in the
// lead range, as vsftpd lists them: a look two bytes back took those for '\\' and '|'.
TEST(ListingParser, ShiftJisNamesAfterLeadRangeSecondBytes) {
  using namespace sjis_samples;
  auto v = Parse("drwxr-xr-x    2 1000     1000         4096 Mar 01 12:00 " + kIchiranhyou + "\r\n"
                 "-rw-r--r--    1 1000     1000            4 Mar 01 12:00 " + kListXls + "\r\n"
                 "-rw-r--r--    1 1000     1000            4 Feb 28  2023 " + kPlanTxt + "\r\n"
                 "-rw-r--r--    1 1000     1000         1234 Mar 01 12:00 " + kTempoMid + "\r\n");
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0].entry.name, kIchiranhyou);
  EXPECT_EQ(v[0].entry.attributes, 0x10u);
  EXPECT_EQ(v[1].entry.name, kListXls);
  EXPECT_EQ(v[2].entry.name, kPlanTxt);
  EXPECT_EQ(v[3].entry.name, kTempoMid);
  EXPECT_EQ(RemoteSizeText(v[3].entry), "1234");
}

TEST(ListingParser, SixtyFourBitSizes) {
  auto v = Only(Parse("-rw-r--r-- 1 o g 5368709120 Mar 1 12:00 big.iso\r\n"));
  EXPECT_EQ(v.entry.size, 5368709120ULL);
  EXPECT_EQ(RemoteSizeText(v.entry), "5368709120");
  EXPECT_EQ(Only(Parse("-rw-r--r-- 1 o g 18446744073709551615 Mar 1 12:00 max\r\n")).entry.size,
            18446744073709551615ULL);
  EXPECT_TRUE(Parse("-rw-r--r-- 1 o g 18446744073709551616 Mar 1 12:00 over\r\n").empty());
  EXPECT_EQ(RemoteSizeText(Only(Parse("-rw-r--r-- 1 o g 0 Mar 1 12:00 empty\r\n")).entry), "0");
}

TEST(ListingParser, WordRules) {
  // Link count must be a positive number; the size a number or starting with 0.
  EXPECT_TRUE(Parse("-rw-r--r-- 0 o g 1 Mar 1 12:00 x\r\n").empty());
  EXPECT_TRUE(Parse("-rw-r--r-- x o g 1 Mar 1 12:00 x\r\n").empty());
  EXPECT_TRUE(Parse("-rw-r--r-- 1 o g big Mar 1 12:00 x\r\n").empty());
  EXPECT_EQ(Parse("-rw-r--r-- 1 o g 0x Mar 1 12:00 x\r\n").size(), 1u);
  // No group column: repaired when the day is at most 12, otherwise skipped.
  auto repaired = Only(Parse("-rw-r--r-- 1 owner 2048 Feb 12 09:30 no group.txt\r\n"));
  EXPECT_EQ(repaired.entry.name, "no group.txt");
  EXPECT_EQ(repaired.entry.size, 2048u);
  EXPECT_EQ(RemoteDateText(repaired.date, 0), "2024/02/12 09:30");
  EXPECT_TRUE(Parse("-rw-r--r-- 1 owner 2048 Feb 13 09:30 x\r\n").empty());
}

TEST(ListingParser, MonthsAndYearRule) {
  // Clock in March: a later month is last year, the same month this year.
  EXPECT_EQ(RemoteDateText(Only(Parse("-rw-r--r-- 1 o g 1 Dec 24 12:00 x\r\n")).date, 0),
            "2023/12/24 12:00");
  EXPECT_EQ(RemoteDateText(Only(Parse("-rw-r--r-- 1 o g 1 Mar 1 12:00 x\r\n")).date, 0),
            "2024/03/01 12:00");
  // Numeric and Japanese-style months; month names are case-sensitive.
  EXPECT_EQ(Only(Parse("-rw-r--r-- 1 o g 1 3\x8c\x8e 1 12:00 x\r\n")).date.month, 3);
  EXPECT_EQ(Only(Parse("-rw-r--r-- 1 o g 1 11 1 2001 x\r\n")).date.month, 11);
  EXPECT_EQ(Only(Parse("-rw-r--r-- 1 o g 1 dec 1 2001 x\r\n")).date.month, 0);
  // Dates no calendar has still give a row, and nothing reads outside the month table.
  auto odd = Only(Parse("-rw-r--r-- 1 o g 1 13 45 99:99 x\r\n"));
  EXPECT_EQ(RemoteDateText(odd.date, 60), "2023/13/45 05:39");
  EXPECT_EQ(RemoteDateText(Only(Parse("-rw-r--r-- 1 o g 1 Foo 1 99999999999999 x\r\n")).date, -100000),
            "999999999/00/01 13:20");
}

TEST(TimeLag, CarriesThroughTheCalendar) {
  EntryDate d{2023, 12, 31, 23, 30};
  EXPECT_EQ(RemoteDateText(d, 60), "2024/01/01 00:30");
  d = EntryDate{2024, 3, 1, 5, 0};
  EXPECT_EQ(RemoteDateText(d, -540), "2024/02/28 20:00");  // February has 28 days
  d = EntryDate{2024, 1, 1, 0, 10};
  EXPECT_EQ(RemoteDateText(d, -11), "2023/12/31 23:59");
  d = EntryDate{2024, 5, 1, 10, 0};
  EXPECT_EQ(RemoteDateText(d, 30), "2024/05/01 10:30");
  EXPECT_EQ(RemoteDateText(d, 0), "2024/05/01 10:00");
  EXPECT_EQ(RemoteDateText(d, 359), "2024/05/01 15:59");
  EXPECT_EQ(RemoteDateText(d, -359), "2024/05/01 04:01");
  // Lags of whole years and more land on the same day.
  EXPECT_EQ(RemoteDateText(d, 365LL * 24 * 60), "2025/05/01 10:00");
  EXPECT_EQ(RemoteDateText(d, -3 * 365LL * 24 * 60 - 24 * 60), "2021/04/30 10:00");
  // A day beyond its month (the listing's 29 February) moves into the next month.
  d = EntryDate{2024, 2, 29, 23, 0};
  EXPECT_EQ(RemoteDateText(d, 0), "2024/02/29 23:00");
  EXPECT_EQ(RemoteDateText(d, 120), "2024/03/01 01:00");
  // Extreme lags from a hand-edited settings file stay within the arithmetic.
  EXPECT_EQ(RemoteDateText(EntryDate{2024, 5, 1, 10, 0}, 2147483647LL), "6110/02/08 12:07");
  EXPECT_EQ(RemoteDateText(EntryDate{2024, 5, 1, 10, 0}, -2147483647LL), "-2062/07/22 07:53");
}

}  // namespace
