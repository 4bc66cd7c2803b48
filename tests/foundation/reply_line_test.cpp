#include <gtest/gtest.h>

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

TEST(ReplyLine, ContinuationIsADashInTheFourthPlace) {
  EXPECT_TRUE(IsContinuationLine("220-first\r\n"));
  EXPECT_FALSE(IsContinuationLine("220 last\r\n"));
  EXPECT_FALSE(IsContinuationLine("22"));
  // A continuation line of text with blanks before a number ends the reply once stripped.
  std::string line = "   just text 1-2\r\n";
  StripBeforeFirstDigit(line);
  EXPECT_FALSE(IsContinuationLine(line));
}

TEST(ReplyLine, PasswordIsMaskedOnlyForUpperCasePass) {
  EXPECT_EQ(LoggedCommandText("PASS secret\r\n"), "PASS ********\r\n");
  EXPECT_EQ(LoggedCommandText("PASS\r\n"), "PASS ********\r\n");
  EXPECT_EQ(LoggedCommandText("pass secret\r\n"), "pass secret\r\n");
  EXPECT_EQ(LoggedCommandText("USER bob\r\n"), "USER bob\r\n");
}
