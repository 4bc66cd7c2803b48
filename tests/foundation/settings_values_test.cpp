#include <gtest/gtest.h>

#include "config/options.h"
#include "config/password.h"
#include "config/profile_value.h"

TEST(Password, ReversedAndShiftedByOne) {
  EXPECT_EQ(ScramblePassword("abc"), "dcb");
  EXPECT_EQ(UnscramblePassword("dcb"), "abc");
  EXPECT_EQ(ScramblePassword(""), "");
}

TEST(Password, EveryByteValueRoundTripsWithoutAZero) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string stored = ScramblePassword(all);
  EXPECT_EQ(stored.find('\0'), std::string::npos);
  EXPECT_EQ(UnscramblePassword(stored), all);
  // 255 is stored as 1, which no earlier file can hold (it would mean a 0 byte typed).
  EXPECT_EQ(ScramblePassword("\xff"), "\x01");
}

TEST(ProfileValue, IntegersAsTheFileHoldsThem) {
  EXPECT_EQ(ParseProfileInt("-60"), -60);
  EXPECT_EQ(ParseProfileInt("+7"), 7);
  EXPECT_EQ(ParseProfileInt("12abc"), 12);
  EXPECT_EQ(ParseProfileInt("abc"), 0);
  EXPECT_EQ(ParseProfileInt(""), 0);
  EXPECT_EQ(ParseProfileInt("99999999999999"), 2147483647);
  EXPECT_EQ(ParseProfileInt("-99999999999999"), -2147483647 - 1);
}

TEST(ProfileValue, QuotedOnlyWhenReadingWouldChangeIt) {
  EXPECT_EQ(QuoteForProfile("plain"), "plain");
  EXPECT_EQ(QuoteForProfile(""), "");
  EXPECT_EQ(QuoteForProfile(" lead"), "\" lead\"");
  EXPECT_EQ(QuoteForProfile("trail\t"), "\"trail\t\"");
  EXPECT_EQ(QuoteForProfile("\"both\""), "\"\"both\"\"");
  EXPECT_EQ(QuoteForProfile("\"one side"), "\"one side");
}

TEST(Options, DefaultsAndCapacities) {
  OptionsRecord o;
  EXPECT_EQ(o.Chmod2, "646");
  EXPECT_EQ(o.InitialRemoteFolder, "./");
  EXPECT_EQ(o.TransferType, "BINARY");
  EXPECT_EQ(o.ReceiveBuf, 1024);
  EXPECT_EQ(o.LocalColumn[0], 160);
  EXPECT_EQ(o.RemColumn[4], 50);
  EXPECT_EQ(o.SortTypeLocal, 40025);
  EXPECT_EQ(CutToCapacity(std::string(200, 'a'), 128).size(), 127u);
  EXPECT_EQ(CutToCapacity("short", 8), "short");
  EXPECT_EQ(CutToCapacity("1234567", 8), "1234567");
  EXPECT_EQ(CutToCapacity("12345678", 8), "1234567");
}

TEST(Options, TransferBufferSizesStayUsable) {
  EXPECT_EQ(ClampTransferBufferSize(0), 1);
  EXPECT_EQ(ClampTransferBufferSize(-5), 1);
  EXPECT_EQ(ClampTransferBufferSize(1024), 1024);
  EXPECT_EQ(ClampTransferBufferSize(1 << 20), 65536);
}

TEST(Options, ListTypesAreViewCommands) {
  for (int id = 40001; id <= 40004; ++id) EXPECT_EQ(ValidListType(id), id);
  for (int other : {0, -1, 40000, 40005, 40015, 40063}) EXPECT_EQ(ValidListType(other), 40004) << other;
}
