// Window-free rules of the FTP engine: command lines, PORT, PWD replies, progress, listing cap.
// The cases of the first three are in tests/ftp/data/engine_rules.tsv.
#include <gtest/gtest.h>

#include <string>

#include "ftp/command_format.h"
#include "ftp/listing_limit.h"
#include "ftp/port_command.h"
#include "ftp/pwd_reply.h"
#include "ftp/transfer_progress.h"
#include "support/case_table.h"

namespace {

using namespace case_table;

const std::map<std::string, Routine> kRoutines = {
    // The result, a blank, then the line ("" when refused).
    {"Command", [](const Args& a) {
       std::string line = "stale";
       return Numbers("", FormatCommandLine(line, a[0].c_str(), a[1])) + " " + line;
     }},
    {"Port", [](const Args& a) {
       const unsigned char address[4] = {static_cast<unsigned char>(Int(a[0])), static_cast<unsigned char>(Int(a[1])),
                                         static_cast<unsigned char>(Int(a[2])), static_cast<unsigned char>(Int(a[3]))};
       return FormatPortCommand(address, Int(a[4]));
     }},
    // The result, a blank, then the path ("kept": left as it was).
    {"Pwd", [](const Args& a) {
       std::string path = "kept";
       return Numbers("", ExtractPwdPath(a[0], 2048, path)) + " " + path;
     }},
    {"WithName", [](const Args& a) { return FormatWithName(a[0], a[1]); }},
};

}  // namespace

TEST(EngineRules, Table) { RunCases("ftp/data/engine_rules.tsv", kRoutines); }

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

TEST(ListingLimit, AcceptsUpToTheCapAndKeepsWholePieces) {
  std::string listing, piece(kListingLimit / 2, 'a');
  uint64_t total = 0;
  EXPECT_EQ(AppendListingPiece(listing, total, piece.data(), piece.size()), 1);
  EXPECT_EQ(AppendListingPiece(listing, total, piece.data(), piece.size()), 1);  // exactly the cap
  EXPECT_EQ(AppendListingPiece(listing, total, "b", 1), 0);
  EXPECT_EQ(AppendListingPiece(listing, total, "", 0), 0);  // once cut, always cut
  EXPECT_EQ(listing, piece + piece);
}
