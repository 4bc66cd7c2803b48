#include <gtest/gtest.h>

#include "app/sjis.h"

// "表" is 0x95 0x5C in Shift-JIS: its second byte looks like a backslash.
TEST(IsSingleByteChar, TrailByteThatLooksLikeBackslashIsNotOne) {
  const char text[] = "\x95\x5c\\";
  EXPECT_TRUE(IsSingleByteChar(text, 0));
  EXPECT_FALSE(IsSingleByteChar(text, 1));  // second half of the pair
  EXPECT_TRUE(IsSingleByteChar(text, 2));   // the real backslash after it
}

TEST(IsSingleByteChar, IndexZeroAndHighBytes) {
  EXPECT_TRUE(IsSingleByteChar("\x95\x5c", 0));
  EXPECT_FALSE(IsSingleByteChar("a\x95", 1));   // a byte of 0x80 or above never is
  EXPECT_TRUE(IsSingleByteChar("a\\", 1));
}

TEST(IsSingleByteChar, LooksTwoBytesBackOnly) {
  // Two lead-range bytes in a row: the rule takes the second as a trail byte, so what
  // follows stands alone.
  EXPECT_TRUE(IsSingleByteChar("\x81\x81\\", 2));
  // Half-width katakana (0xA1-0xDF) are single bytes, not leads.
  EXPECT_TRUE(IsSingleByteChar("\xB1\\", 1));
  EXPECT_FALSE(IsSingleByteChar("\xE0\\", 1));
}
