// Window-free rules of the FTP engine: command lines, PORT and EPRT, host addresses, PWD
// replies, progress, listing cap.
// The cases of all but the cap are in tests/ftp/data/engine_rules.tsv.
#include <gtest/gtest.h>

#include <string>

#include "ftp/command_format.h"
#include "ftp/feature_list.h"
#include "ftp/host_address.h"
#include "ftp/listing_limit.h"
#include "ftp/partial_record.h"
#include "ftp/port_command.h"
#include "ftp/pwd_reply.h"
#include "ftp/secure_port.h"
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
    // Host addresses: the family, a blank, then the shortest text ("no" for no address).
    {"Address", [](const Args& a) {
       HostAddress address;
       return ParseAddressText(a[0], address) ? Numbers("", address.family) + " " + AddressText(address) : "no";
     }},
    {"SameHost", [](const Args& a) {
       HostAddress x, y;
       return ParseAddressText(a[0], x) && ParseAddressText(a[1], y) ? Bool(SameHost(x, y)) : "unparsed";
     }},
    {"BareHost", [](const Args& a) { return BareHost(a[0]); }},
    {"HostAndPort", [](const Args& a) { return HostAndPort(a[0], Int(a[1])); }},
    {"Eprt", [](const Args& a) {
       HostAddress address;
       return ParseAddressText(a[0], address) ? FormatEprtCommand(address, Int(a[1])) : "unparsed";
     }},
    // The result, a blank, then the path ("kept": left as it was).
    {"Pwd", [](const Args& a) {
       std::string path = "kept";
       return Numbers("", ExtractPwdPath(a[0], 2048, path)) + " " + path;
     }},
    {"WithName", [](const Args& a) { return FormatWithName(a[0], a[1]); }},
    // Whether each addition moved the bar, a blank, then the last position shown.
    {"Progress", [](const Args& a) {
       TransferProgress p(std::stoull(a[0]));
       std::string moved;
       for (const std::string& count : SplitOn(a[1], ',')) moved += Bool(p.AddAndCheckPosition(std::stoull(count)));
       return moved + " " + std::to_string(p.lastPosition);
     }},
    {"Position", [](const Args& a) { return Numbers("", ProgressPosition(std::stoull(a[0]), std::stoull(a[1]))); }},
    // The port a host is reached on: its stored port and Security (0 none, 1 explicit, 2 implicit).
    {"ControlPort", [](const Args& a) { return Numbers("", ControlPortFor(Int(a[0]), Int(a[1]))); }},
    {"ProgressLine", [](const Args& a) { return FormatProgressLine(a[0], std::stoull(a[1]), std::stoull(a[2])); }},
};

// A record as one line of its fields, "|" between them, or "refused".
std::string Fields(const PartialRecord& r) {
  return r.server + "|" + r.remotePath + "|" + std::to_string(r.size) + "|" + r.date + "|" + r.localPath;
}

const std::map<std::string, Routine> kPartialRoutines = {
    {"Format", [](const Args& a) {
       PartialRecord r{a[0], a[1], std::stoull(a[2]), a[3], a[4]};
       const std::string text = FormatPartialRecord(r);
       PartialRecord back;
       if (!text.empty() && (!ParsePartialRecord(text, back) || !(back == r))) return std::string("not read back");
       return text;
     }},
    {"Parse", [](const Args& a) {
       PartialRecord r;
       return ParsePartialRecord(a[0], r) ? Fields(r) : std::string("refused");
     }},
    {"Feature", [](const Args& a) { return Bool(FeatureListed(a[0], a[1])); }},
    {"Offset", [](const Args& a) { return std::to_string(ResumeOffset(std::stoull(a[0]), std::stoull(a[1]))); }},
    {"UploadName", [](const Args& a) { return UploadRecordName(a[0], a[1]); }},
    {"Size", [](const Args& a) {
       uint64_t size = 7;
       return ParseSizeReply(a[0], size) ? std::to_string(size) : std::string("none");
     }},
};

}  // namespace

TEST(PartialRecords, Table) { RunCases("ftp/data/partial_records.tsv", kPartialRoutines); }

TEST(EngineRules, Table) { RunCases("ftp/data/engine_rules.tsv", kRoutines); }

TEST(ListingLimit, AcceptsUpToTheCapAndKeepsWholePieces) {
  std::string listing, piece(kListingLimit / 2, 'a');
  uint64_t total = 0;
  EXPECT_EQ(AppendListingPiece(listing, total, piece.data(), piece.size()), 1);
  EXPECT_EQ(AppendListingPiece(listing, total, piece.data(), piece.size()), 1);  // exactly the cap
  EXPECT_EQ(AppendListingPiece(listing, total, "b", 1), 0);
  EXPECT_EQ(AppendListingPiece(listing, total, "", 0), 0);  // once cut, always cut
  EXPECT_EQ(listing, piece + piece);
}
