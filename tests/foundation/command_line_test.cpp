#include <gtest/gtest.h>

#include "app/command_line.h"

using Args = std::vector<std::string>;

TEST(SplitCommandLine, QuotedPathKeepsItsSpaces) {
  EXPECT_EQ(SplitCommandLine("\"C:\\My Hosts\\a b.BOK\""), Args{"C:\\My Hosts\\a b.BOK"});
}

TEST(SplitCommandLine, SeparatorsAndEmptyLines) {
  EXPECT_EQ(SplitCommandLine("a.BOK  b.BOK"), (Args{"a.BOK", "b.BOK"}));
  EXPECT_EQ(SplitCommandLine(""), Args{});
  EXPECT_EQ(SplitCommandLine(" \t\r\n "), Args{});
  EXPECT_EQ(SplitCommandLine("\"\""), Args{""});  // an empty quoted argument still counts
}

TEST(SplitCommandLine, QuotesInsideAndUnclosed) {
  EXPECT_EQ(SplitCommandLine("ab\"c d"), (Args{"ab\"c", "d"}));   // a quote inside is ordinary
  EXPECT_EQ(SplitCommandLine("\"open ended"), Args{"open ended"});
  EXPECT_EQ(SplitCommandLine("\"x\"y"), (Args{"x", "y"}));          // the quote ends the argument
}

TEST(SplitCommandLine, ShiftJisTrailBytesAreNotQuotesOrBlanks) {
  // 0x81 0x22 is not a valid pair but the rule still treats 0x22 after a lead byte as a
  // trail byte; likewise 0x81 0x20.
  EXPECT_EQ(SplitCommandLine("\"\x81\x22z\" q"), (Args{"\x81\x22z", "q"}));
  EXPECT_EQ(SplitCommandLine("\x81\x20tail next"), (Args{"\x81\x20tail", "next"}));
  // "表" (0x95 0x5C) inside a path keeps the path whole.
  EXPECT_EQ(SplitCommandLine("C:\\\x95\x5c\\f.BOK"), Args{"C:\\\x95\x5c\\f.BOK"});
}

TEST(SplitCommandLine, LongArgumentIsCutAt511Bytes) {
  std::string longName(700, 'n');
  Args args = SplitCommandLine((longName + " next").c_str());
  ASSERT_EQ(args.size(), 2u);
  EXPECT_EQ(args[0], std::string(511, 'n'));
  EXPECT_EQ(args[1], "next");
}
