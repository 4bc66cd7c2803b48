#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ftp/reply_line.h"

TEST(ReplyIsPositive, FirstDigitDecides) {
  EXPECT_EQ(ReplyIsPositive("150 Opening\r\n"), 1);
  EXPECT_EQ(ReplyIsPositive("230 Logged in\r\n"), 1);
  EXPECT_EQ(ReplyIsPositive("350 Ready\r\n"), 1);
  EXPECT_EQ(ReplyIsPositive("421 Bye\r\n"), 0);
  EXPECT_EQ(ReplyIsPositive("550 No\r\n"), 0);
}

TEST(ReplyIsPositive, EmptyReplyOfAClosedConnectionIsAFailure) {
  EXPECT_EQ(ReplyIsPositive(""), 0);
}

TEST(ReplyLine, LeadingNonDigitsAreRemoved) {
  std::string line = "\xff\xf2  220 ready\r\n";
  StripBeforeFirstDigit(line);
  EXPECT_EQ(line, "220 ready\r\n");
  std::string text = "no digits here\r\n";
  StripBeforeFirstDigit(text);
  EXPECT_EQ(text, "");
}

// Feeds lines to a ReplyEnd; answers how many it took to end the reply (0: not ended).
int LinesUntilEnd(const std::vector<std::string>& lines) {
  ReplyEnd end;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string stripped = lines[i];
    StripBeforeFirstDigit(stripped);
    if (end.IsLastLine(lines[i], stripped)) return static_cast<int>(i + 1);
  }
  return 0;
}

TEST(ReplyEnd, SingleLineRepliesEndAtTheirFirstLine) {
  EXPECT_EQ(LinesUntilEnd({"220 ready\r\n"}), 1);
  EXPECT_EQ(LinesUntilEnd({"22\r\n"}), 1);
  EXPECT_EQ(LinesUntilEnd({"no code at all\r\n"}), 1);
  EXPECT_EQ(LinesUntilEnd({"\xff\xf2  226 after an abort\r\n"}), 1);
}

TEST(ReplyEnd, MultiLineReplyEndsOnlyAtItsCodeAndASpace) {
  EXPECT_EQ(LinesUntilEnd({"220-a\r\n", "220-b\r\n", "220 c\r\n"}), 3);
  // Free text, an indented line starting with the code, and another code in the body.
  EXPECT_EQ(LinesUntilEnd({"230-Welcome\r\n", " Please note:\r\n", " 230 indented\r\n", "free text\r\n",
                           "200 other code\r\n", "230-still going\r\n", "230 Logged in\r\n"}),
            7);
  EXPECT_EQ(LinesUntilEnd({"220-a\r\n", "220\r\n", "2200 no\r\n"}), 0);
  // Telnet bytes before the closing line do not hide it.
  EXPECT_EQ(LinesUntilEnd({"426-Aborted\r\n", "\xff\xf2" "426 done\r\n"}), 2);
}

TEST(ReplyLine, PasswordIsMaskedOnlyForUpperCasePass) {
  EXPECT_EQ(LoggedCommandText("PASS secret\r\n"), "PASS ********\r\n");
  EXPECT_EQ(LoggedCommandText("PASS\r\n"), "PASS ********\r\n");
  EXPECT_EQ(LoggedCommandText("pass secret\r\n"), "pass secret\r\n");
  EXPECT_EQ(LoggedCommandText("USER bob\r\n"), "USER bob\r\n");
}
