// DOS-style listings of Windows servers: the shapes they come in, the dates and times they
// carry, and the lines that must still give nothing.
#include <gtest/gtest.h>

#include "ftp/listing_parser.h"
#include "support/shift_jis_samples.h"

namespace {

std::vector<ListedEntry> Parse(const std::string& text) {
  ListingClock clock;
  clock.year = 2026;
  clock.month = 12;
  return ParseListing(text, clock);
}

struct Shape {
  const char* line;
  const char* name;
  bool folder;
  const char* size;
  const char* date;
};

TEST(DosListing, ShapesOfRealServers) {
  const Shape shapes[] = {
      // Two-digit years with AM/PM, as IIS lists by default.
      {"12-07-26  05:29PM       <DIR>          pub", "pub", true, "   ", "2026/12/07 17:29"},
      {"12-07-26  05:29PM                 1234 a.txt", "a.txt", false, "1234", "2026/12/07 17:29"},
      {"01-02-99  12:05AM                    0 empty.dat", "empty.dat", false, "0", "1999/01/02 00:05"},
      {"01-02-70  12:59PM                   17 noon.txt", "noon.txt", false, "17", "1970/01/02 12:59"},
      {"06-30-69  11:00pm                   17 late.txt", "late.txt", false, "17", "2069/06/30 23:00"},
      // Four-digit years and 24-hour times.
      {"12-07-2026  17:29       <DIR>          Program Files", "Program Files", true, "   ", "2026/12/07 17:29"},
      {"02-29-2024  00:00           8589934592 big.iso", "big.iso", false, "8589934592", "2024/02/29 00:00"},
      {"2026-12-07  09:05                 4096 iso.txt", "iso.txt", false, "4096", "2026/12/07 09:05"},
      // A blank before AM/PM, slashes, and names with inner and leading runs of spaces.
      {"12/07/26  05:29 PM                  10 a  b c.txt", "a  b c.txt", false, "10", "2026/12/07 17:29"},
      {"  12-07-26  05:29AM        <DIR>       My Documents", "My Documents", true, "   ", "2026/12/07 05:29"},
      {"12-07-26\t05:29AM\t42\ttab.txt", "tab.txt", false, "42", "2026/12/07 05:29"},
  };
  for (const Shape& shape : shapes) {
    auto v = Parse(std::string(shape.line) + "\r\n");
    ASSERT_EQ(v.size(), 1u) << shape.line;
    EXPECT_EQ(v[0].entry.name, shape.name) << shape.line;
    EXPECT_EQ(v[0].entry.attributes, shape.folder ? 0x10u : 0u) << shape.line;
    EXPECT_EQ(RemoteSizeText(v[0].entry), shape.size) << shape.line;
    EXPECT_EQ(RemoteDateText(v[0].date, 0), shape.date) << shape.line;
    EXPECT_EQ(v[0].permissions, "") << shape.line;
  }
}

TEST(DosListing, MixesWithUnixLinesAndTheTimeLag) {
  auto v = Parse("total 3\r\n"
                 "12-31-26  11:30PM                  5 last.txt\r\n"
                 "-rw-r--r--   1 owner  group  1234 Jan 10  1999 unix.txt\r\n"
                 "12-31-26  11:30PM       <DIR>          folder\r\n");
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0].entry.name, "last.txt");
  EXPECT_EQ(RemoteDateText(v[0].date, 60), "2027/01/01 00:30");
  EXPECT_EQ(v[1].entry.name, "unix.txt");
  EXPECT_EQ(v[1].permissions, "-rw-r--r--");
  EXPECT_EQ(v[2].entry.attributes, 0x10u);
}

TEST(DosListing, ShiftJisNamesKeepTheirBytes) {
  const std::string name = sjis_samples::kIchiranhyou + ".txt";  // ends in 0x5C
  auto v = Parse("12-07-26  05:29PM                   3 " + name + "\r\n");
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].entry.name, name);
}

TEST(DosListing, HostileAndBrokenLinesGiveNothing) {
  const char* lines[] = {
      // Names that must not reach the local side.
      "12-07-26  05:29PM       <DIR>          ..",
      "12-07-26  05:29PM       <DIR>          .",
      "12-07-26  05:29PM                 1234 ..\\..\\evil.txt",
      "12-07-26  05:29PM                 1234 C:\\Windows\\win.ini",
      "12-07-26  05:29PM                 1234 sub/evil.txt",
      "12-07-26  05:29PM                 1234 nul.txt",
      "12-07-26  05:29PM                 1234 trailing. ",
      "12-07-26  05:29PM                 1234 ",
      "12-07-26  05:29PM       <DIR>",
      // Dates, times and sizes no server means.
      "13-07-26  05:29PM                 1234 month.txt",
      "12-32-26  05:29PM                 1234 day.txt",
      "12-00-26  05:29PM                 1234 day0.txt",
      "12-07-26  13:29PM                 1234 hour.txt",
      "12-07-26  00:29AM                 1234 hour0.txt",
      "12-07-26  24:00                   1234 hour24.txt",
      "12-07-26  05:60PM                 1234 minute.txt",
      "12-07-26  05:9PM                  1234 minute1.txt",
      "12-07-26  05:29XM                 1234 half.txt",
      "12-07-26  05:29PM                 12a4 size.txt",
      "12-07-26  05:29PM                 -1 negative.txt",
      "12-07-26  05:29PM     99999999999999999999 huge.txt",
      "12-07-26  05:29PM       <dir>          lower",
      "12-07-26  05:29PM                 1234",
      "12-07-2  05:29PM                  1234 year1.txt",
      "123-07-26  05:29PM                1234 wide.txt",
      "12-07-26-01  05:29PM              1234 four.txt",
      "12-07-26",
      "12-07-26  ",
  };
  for (const char* line : lines) EXPECT_TRUE(Parse(std::string(line) + "\r\n").empty()) << line;
}

}  // namespace
