// Window-free rules of the FTP engine: command lines, PORT, PWD replies, progress, listing cap.
#include <gtest/gtest.h>

#include <string>

#include "ftp/command_format.h"
#include "ftp/listing_limit.h"
#include "ftp/port_command.h"
#include "ftp/pwd_reply.h"
#include "ftp/transfer_progress.h"

TEST(CommandFormat, ArgumentsGoOutUnquotedAndLineBreaksNever) {
  struct Case {
    const char* verb;
    std::string argument;
    const char* line;  // null: refused
  } const cases[] = {
      {"CWD", "/pub/my folder", "CWD /pub/my folder\r\n"},
      {"CWD", "", "CWD \r\n"},  // an empty initial folder still sends CWD
      {"SITE CHMOD", "755 run.cgi", "SITE CHMOD 755 run.cgi\r\n"},
      {"RETR", "\x95\x5C.txt", "RETR \x95\x5C.txt\r\n"},
      {"DELE", "a.txt\r\nRMD /", nullptr},
      {"CWD", "x\ny", nullptr},
      {"RETR", "tail\r", nullptr},
      {"STOR", std::string("a\0b", 3), nullptr},
  };
  for (const Case& c : cases) {
    std::string line = "stale";
    EXPECT_EQ(FormatCommandLine(line, c.verb, c.argument), c.line ? 1 : 0) << c.argument;
    EXPECT_EQ(line, c.line ? c.line : "");
  }
}

TEST(PortCommand, AddressBytesThenPortHighAndLow) {
  const unsigned char lan[4] = {192, 168, 0, 5}, high[4] = {255, 254, 128, 0};
  EXPECT_EQ(FormatPortCommand(lan, 4097), "PORT 192,168,0,5,16,1\r\n");
  EXPECT_EQ(FormatPortCommand(high, 255), "PORT 255,254,128,0,0,255\r\n");
}

TEST(PwdReply, TakesTheQuotedPathCutAtCapacity) {
  struct Case {
    std::string reply;
    int ok;
    std::string path;
  } const cases[] = {
      {"257 \"/home/anna\" is the current directory\r\n", 1, "/home/anna"},
      {"257 \"\"\r\n", 1, ""},
      {"257 \"/a\"\"b\" created\r\n", 1, "/a"},  // a doubled quote ends it at the first of the pair
      {"257 \"" + std::string(3000, 'p') + "\"\r\n", 1, std::string(2047, 'p')},
      {"257 /home/anna is current\r\n", 0, "kept"},
      {"257 \"/unterminated\r\n", 0, "kept"},
      {"", 0, "kept"},
  };
  for (const Case& c : cases) {
    std::string path = "kept";
    EXPECT_EQ(ExtractPwdPath(c.reply, 2048, path), c.ok) << c.reply;
    EXPECT_EQ(path, c.path);
  }
}

TEST(TransferProgress, OncePerPercentBeyondFourGigabytes) {
  TransferProgress small(99);
  EXPECT_FALSE(small.AddAndCheckPosition(99));  // under 100 bytes nothing moves
  TransferProgress p(1000);
  EXPECT_FALSE(p.AddAndCheckPosition(9));
  EXPECT_TRUE(p.AddAndCheckPosition(1));
  EXPECT_FALSE(p.AddAndCheckPosition(5));
  EXPECT_TRUE(p.AddAndCheckPosition(1485));  // a file that grew on the server goes past 100
  EXPECT_EQ(p.lastPosition, 150);
  const uint64_t size = 5ull * 1024 * 1024 * 1024 + 7;
  TransferProgress big(size);
  EXPECT_TRUE(big.AddAndCheckPosition(size / 2));
  EXPECT_EQ(big.lastPosition, 50);
  EXPECT_EQ(ProgressPosition(3000000000ull, 1), 2147483647);  // held within an int
  EXPECT_EQ(FormatProgressLine("Revieveing file big.iso ...", 2684354560ull, size),
            "Revieveing file big.iso ... (2684354560/5368709127 Byte)");
}

TEST(TransferProgress, FormatsTheNameWithoutReadingItAsFormat) {
  EXPECT_EQ(FormatWithName("Sending file %s ...", "a%sb%d.txt"), "Sending file a%sb%d.txt ...");
  EXPECT_EQ(FormatWithName("100%% of %s", "x"), "100% of x");
  EXPECT_EQ(FormatWithName("%s and %s", "x"), "x and %s");
  EXPECT_EQ(FormatWithName("trailing %", "x"), "trailing %");
}

TEST(ListingLimit, AcceptsUpToTheCapAndKeepsWholePieces) {
  std::string listing, piece(kListingLimit / 2, 'a');
  uint64_t total = 0;
  EXPECT_EQ(AppendListingPiece(listing, total, piece.data(), piece.size()), 1);
  EXPECT_EQ(AppendListingPiece(listing, total, piece.data(), piece.size()), 1);  // exactly the cap
  EXPECT_EQ(AppendListingPiece(listing, total, "b", 1), 0);
  EXPECT_EQ(AppendListingPiece(listing, total, "", 0), 0);  // once cut, always cut
  EXPECT_EQ(listing, piece + piece);
}
