// Window-free rules of the FTP engine: command lines, PORT, PWD replies, progress, listing cap.
#include <gtest/gtest.h>

#include <string>

#include "ftp/command_format.h"
#include "ftp/listing_limit.h"
#include "ftp/port_command.h"
#include "ftp/pwd_reply.h"
#include "ftp/transfer_progress.h"

TEST(CommandFormat, BuildsVerbAndArgumentUnquoted) {
  std::string line;
  ASSERT_EQ(FormatCommandLine(line, "CWD", "/pub/my folder"), 1);
  EXPECT_EQ(line, "CWD /pub/my folder\r\n");
  ASSERT_EQ(FormatCommandLine(line, "CWD", ""), 1);  // an empty initial folder still sends CWD
  EXPECT_EQ(line, "CWD \r\n");
  ASSERT_EQ(FormatCommandLine(line, "SITE CHMOD", "755 run.cgi"), 1);
  EXPECT_EQ(line, "SITE CHMOD 755 run.cgi\r\n");
  ASSERT_EQ(FormatCommandLine(line, "USER", "anna@ftp.example.org"), 1);
  EXPECT_EQ(line, "USER anna@ftp.example.org\r\n");
  ASSERT_EQ(FormatCommandLine(line, "NLST -alL"), 1);
  EXPECT_EQ(line, "NLST -alL\r\n");
  // Shift-JIS bytes pass untouched (0x5C trail byte included).
  ASSERT_EQ(FormatCommandLine(line, "RETR", "\x95\x5C.txt"), 1);
  EXPECT_EQ(line, "RETR \x95\x5C.txt\r\n");
}

TEST(CommandFormat, RefusesNamesThatWouldInjectACommand) {
  std::string line = "stale";
  EXPECT_EQ(FormatCommandLine(line, "DELE", "a.txt\r\nRMD /"), 0);
  EXPECT_TRUE(line.empty());
  EXPECT_EQ(FormatCommandLine(line, "CWD", "x\ny"), 0);
  EXPECT_EQ(FormatCommandLine(line, "RETR", "tail\r"), 0);
  EXPECT_EQ(FormatCommandLine(line, "STOR", std::string("a\0b", 3)), 0);
  EXPECT_TRUE(HasLineBreak("\n"));
  EXPECT_FALSE(HasLineBreak("plain name.txt"));
}

TEST(PortCommand, AddressBytesThenPortHighAndLow) {
  const unsigned char lan[4] = {192, 168, 0, 5};
  EXPECT_EQ(FormatPortCommand(lan, 4097), "PORT 192,168,0,5,16,1\r\n");
  const unsigned char loop[4] = {127, 0, 0, 1};
  EXPECT_EQ(FormatPortCommand(loop, 65535), "PORT 127,0,0,1,255,255\r\n");
  EXPECT_EQ(FormatPortCommand(loop, 255), "PORT 127,0,0,1,0,255\r\n");
  const unsigned char high[4] = {255, 254, 128, 0};
  EXPECT_EQ(FormatPortCommand(high, 256), "PORT 255,254,128,0,1,0\r\n");
}

TEST(PwdReply, TakesTheQuotedPath) {
  std::string path = "before";
  ASSERT_EQ(ExtractPwdPath("257 \"/home/anna\" is the current directory\r\n", 2048, path), 1);
  EXPECT_EQ(path, "/home/anna");
  ASSERT_EQ(ExtractPwdPath("257 \"/\"\r\n", 2048, path), 1);
  EXPECT_EQ(path, "/");
  ASSERT_EQ(ExtractPwdPath("257 \"\"\r\n", 2048, path), 1);
  EXPECT_EQ(path, "");
  // A doubled quote inside the path ends it at the first of the pair.
  ASSERT_EQ(ExtractPwdPath("257 \"/a\"\"b\" created\r\n", 2048, path), 1);
  EXPECT_EQ(path, "/a");
}

TEST(PwdReply, FailsWithoutClosingQuoteAndCutsAtCapacity) {
  std::string path = "kept";
  EXPECT_EQ(ExtractPwdPath("257 /home/anna is current\r\n", 2048, path), 0);
  EXPECT_EQ(ExtractPwdPath("257 \"/unterminated\r\n", 2048, path), 0);
  EXPECT_EQ(ExtractPwdPath("257 ", 2048, path), 0);
  EXPECT_EQ(ExtractPwdPath("", 2048, path), 0);
  EXPECT_EQ(path, "kept");
  std::string longPath(3000, 'p');
  ASSERT_EQ(ExtractPwdPath("257 \"" + longPath + "\"\r\n", 2048, path), 1);
  EXPECT_EQ(path.size(), 2047u);
}

TEST(TransferProgress, SmallFilesShowNoProgress) {
  TransferProgress p(99);
  EXPECT_EQ(p.step, 0u);
  EXPECT_FALSE(p.AddAndCheckPosition(50));
  EXPECT_FALSE(p.AddAndCheckPosition(49));
  EXPECT_EQ(p.done, 99u);
  EXPECT_EQ(ProgressPosition(99, 0), 0);
}

TEST(TransferProgress, PositionChangesOncePerPercent) {
  TransferProgress p(1000);
  EXPECT_EQ(p.step, 10u);
  EXPECT_FALSE(p.AddAndCheckPosition(9));  // still 0
  EXPECT_TRUE(p.AddAndCheckPosition(1));   // 1
  EXPECT_FALSE(p.AddAndCheckPosition(5));  // still 1
  EXPECT_TRUE(p.AddAndCheckPosition(985));
  EXPECT_EQ(p.lastPosition, 100);
  // A file that grew on the server goes past 100.
  EXPECT_TRUE(p.AddAndCheckPosition(500));
  EXPECT_EQ(p.lastPosition, 150);
}

TEST(TransferProgress, SizesBeyondFourGigabytes) {
  const uint64_t size = 5ull * 1024 * 1024 * 1024 + 7;  // 5 GiB and a bit
  TransferProgress p(size);
  EXPECT_EQ(p.step, size / 100);
  EXPECT_TRUE(p.AddAndCheckPosition(size / 2));
  EXPECT_EQ(p.lastPosition, 50);
  EXPECT_EQ(ProgressPosition(size, size / 100), 100);
  EXPECT_EQ(ProgressPosition(3000000000ull, 1), 2147483647);  // held within an int
  EXPECT_EQ(FormatProgressLine("Revieveing file big.iso ...", 2684354560ull, size),
            "Revieveing file big.iso ... (2684354560/5368709127 Byte)");
}

TEST(TransferProgress, FormatsTheNameWithoutReadingItAsFormat) {
  EXPECT_EQ(FormatWithName("Sending file %s ...", "a%sb%d.txt"), "Sending file a%sb%d.txt ...");
  EXPECT_EQ(FormatWithName("100%% of %s", "x"), "100% of x");
  EXPECT_EQ(FormatWithName("no name here", "x"), "no name here");
  EXPECT_EQ(FormatWithName("%s and %s", "x"), "x and %s");
  EXPECT_EQ(FormatWithName("trailing %", "x"), "trailing %");
}

TEST(ListingLimit, AcceptsUpToTheCapAndKeepsWholePieces) {
  std::string listing;
  uint64_t total = 0;
  std::string piece(kListingLimit / 2, 'a');
  EXPECT_EQ(AppendListingPiece(listing, total, piece.data(), piece.size()), 1);
  EXPECT_EQ(AppendListingPiece(listing, total, piece.data(), piece.size()), 1);
  EXPECT_EQ(listing.size(), kListingLimit);  // exactly the cap is still accepted
  EXPECT_EQ(AppendListingPiece(listing, total, "b", 1), 0);
  EXPECT_EQ(listing.size(), kListingLimit);
  EXPECT_EQ(listing.find('b'), std::string::npos);

  std::string other;
  uint64_t count = 0;
  EXPECT_EQ(AppendListingPiece(other, count, piece.data(), piece.size()), 1);
  EXPECT_EQ(AppendListingPiece(other, count, piece.data(), piece.size() + 1), 0);  // would pass the cap
  EXPECT_EQ(other.size(), piece.size());
}
