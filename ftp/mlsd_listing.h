// Machine listings (MLSD, RFC 3659): one entry a line, "fact=value;" pairs, one blank, then
// the name exactly as the server holds it. Exact sizes, the kind of entry from the type
// fact, and times in UTC; chosen over LIST when the server's FEAT offers them.
#pragma once
#include <string>

#include "ftp/listing_parser.h"

// True when the line has the shape of a machine listing entry: a non-empty run of
// "fact=value;" pairs up to the first blank. No LIST line has it (their first word holds
// no '=').
bool IsMachineListingLine(const std::string& line);

// One machine listing line (without its line end). False when it gives no entry: the
// current and parent folder entries (type cdir and pdir), a size that is no whole number
// of 64 bits, or an unsafe name (IsSafeRemoteName), which then goes to unsafeName. A missing
// or unreadable modify fact leaves the date all zero; a valid one is UTC, turned to local
// time by now.toLocalTime when there is one. The entry's time lag is never applied.
bool ParseMachineListingLine(const std::string& line, const ListingClock& now, ListedEntry& out,
                             std::string* unsafeName = nullptr);

// "YYYYMMDDHHMMSS" with an optional ".fraction": a real UTC time of the Gregorian
// calendar. False for anything else.
bool ReadMachineTime(const std::string& value, EntryDate& date);

// What a FEAT reply says about machine listings. usable: its MLST line names the type,
// size and modify facts. optsCommand: when some facts the program reads (those three and
// UNIX.mode, for the Attributes column) are offered but not on, the OPTS MLST command
// that turns them on; empty when nothing needs asking.
struct MachineListingFeature {
  bool usable = false;
  bool needsOpts = false;  // usable only once optsCommand was accepted
  std::string optsCommand;
};
MachineListingFeature ReadMachineListingFeature(const std::string& featReply);
