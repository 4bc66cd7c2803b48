// Turns a long listing (LIST) into remote entries: Unix-style lines, and the DOS-style
// lines of Windows servers; a machine listing (MLSD) by ftp/mlsd_listing.h. Lines of other shapes are skipped without a word; so are
// names that could not be written on the local side.
#pragma once
#include <string>
#include <vector>

#include "ftp/remote_entry.h"

// The local clock as far as the year rule needs it.
struct ListingClock {
  int year = 1970;
  int month = 1;
  // Machine listings give UTC: this turns such a date into local time (none: left in UTC).
  void (*toLocalTime)(EntryDate& date) = nullptr;
};

struct ListedEntry {
  RemoteEntry entry;
  std::string permissions;  // the first word of the line, e.g. drwxr-xr-x
  EntryDate date;           // as listed, before the time lag
  bool exactTime = false;   // from a machine listing: local time already, no time lag
};

// Parses one line (without its line end). False when the line gives no entry; when that is
// because its name is unsafe (IsSafeRemoteName), the name goes to unsafeName.
bool ParseListingLine(const std::string& line, const ListingClock& now, ListedEntry& out,
                      std::string* unsafeName = nullptr);

// Every entry of a whole listing, in listing order. Lines may end in CR LF, LF or CR, except
// in a machine listing (any line has that shape) that ends its lines in CR LF: there
// a lone CR or LF is part of a name, which is then unsafe;
// blank lines are skipped, and so is a leading "total" line like any other line that
// does not have the shape of an entry. The names of entries left out as unsafe go to
// `hidden` ("." and ".." are no entries and are not among them).
std::vector<ListedEntry> ParseListing(const std::string& text, const ListingClock& now,
                                      std::vector<std::string>* hidden = nullptr);

// False for a name that must not become a local file name: empty, "." or "..", holding a
// path separator, a drive colon, a wildcard or other character Windows refuses, or a
// control character (CR, LF, NUL...), ending in a space or a dot (Windows would drop
// them, so the file could not be sent back under its name), or a reserved device name.
bool IsSafeRemoteName(const std::string& name);

// The Size column text of a remote row: three blanks for a folder, else the whole size.
std::string RemoteSizeText(const RemoteEntry& entry);

// The Date column text of a remote row: the listed date moved by the time lag.
std::string RemoteDateText(EntryDate date, long long lagMinutes);

// The same for a parsed entry: the time lag applies only to times of a long listing.
std::string RemoteDateText(const ListedEntry& listed, long long lagMinutes);

extern const char kFolderMarker[];  // "   ", the Size text that marks a folder row
