#include "ftp/listing_parser.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ftp/dos_listing.h"
#include "ftp/mlsd_listing.h"
#include "text/sjis.h"

const char kFolderMarker[] = "   ";

namespace {

// Any number that reaches a listing's date words stays far below the int range this way.
const long long kNumberCap = 999999999;

struct Word {
  size_t start = 0, end = 0;  // [start, end) in the line
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits at the start of the text, capped; 0 when it does not start with a digit.
long long LeadingNumber(const std::string& text) {
  long long value = 0;
  for (size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kNumberCap) value = kNumberCap;
  }
  return value;
}

bool BeginsWithPositiveNumber(const std::string& text) { return LeadingNumber(text) > 0; }

// The whole size; false when the leading digits do not fit in 64 bits.
bool ReadSize(const std::string& text, uint64_t& size) {
  uint64_t value = 0;
  for (size_t i = 0; i < text.size() && IsDigit(text[i]); ++i) {
    unsigned digit = static_cast<unsigned>(text[i] - '0');
    if (value > (UINT64_MAX - digit) / 10) return false;
    value = value * 10 + digit;
  }
  size = value;
  return true;
}

int MonthOfWord(const std::string& word) {
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  for (int m = 0; word.size() == 3 && m < 12; ++m) {
    const char* month = kMonths + 3 * m;
    if (word[0] == month[0] && word[1] == month[1] && word[2] == month[2]) return m + 1;
  }
  return static_cast<int>(LeadingNumber(word));
}

// Where the line from start ends: at its CR or LF. A plain loop: find_first_of asks
// memchr about the two ends for every byte of the line.
size_t LineEnd(const std::string& text, size_t start) {
  for (size_t i = start; i < text.size(); ++i)
    if (text[i] == '\r' || text[i] == '\n') return i;
  return std::string::npos;
}

// The first word of a Unix line: a file type letter and nine permission letters, maybe an
// ACL mark, and on some servers the link count glued to that mark ("drwxr-x---+1464").
bool ReadPermissionWord(const std::string& word, std::string& permissions, std::string& gluedCount) {
  static const char* const kAllowed[10] = {"-bcdlpsDnw", "r-", "w-", "x-sSlL", "r-",
                                           "w-",         "x-sSlL", "r-", "w-", "x-tTlL"};
  if (word.size() < 10) return false;
  for (size_t i = 0; i < 10; ++i) {
    if (!std::strchr(kAllowed[i], word[i]) || word[i] == '\0') return false;
  }
  size_t end = 10;
  if (end < word.size() && (word[end] == '+' || word[end] == '@' || word[end] == '.')) ++end;
  for (size_t i = end; i < word.size(); ++i) {
    if (!IsDigit(word[i])) return false;
  }
  permissions = word.substr(0, end);
  gluedCount = word.substr(end);
  return true;
}

// 1-2 digits of a number in [low, high], then nothing or only the bytes of a two-byte suffix
// (a Japanese month or day word).
bool IsSmallNumberWord(const std::string& word, int low, int high) {
  size_t digits = 0;
  while (digits < word.size() && IsDigit(word[digits])) ++digits;
  if (digits == 0 || digits > 2) return false;
  for (size_t i = digits; i < word.size(); ++i) {
    if (static_cast<unsigned char>(word[i]) < 0x80) return false;
  }
  const long long value = LeadingNumber(word);
  return value >= low && value <= high;
}

// A month as ls writes it: three letters (a month name), or a number with maybe a suffix.
bool IsMonthWord(const std::string& word) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (word.size() == 3 && letter(word[0]) && letter(word[1]) && letter(word[2])) return true;
  return IsSmallNumberWord(word, 1, 12);
}

bool IsDayWord(const std::string& word) { return IsSmallNumberWord(word, 1, 31); }

// "H:MM" or "HH:MM" of a day, or a four-digit year.
bool IsTimeOrYearWord(const std::string& word) {
  size_t colon = word.find(':');
  if (colon == std::string::npos) {
    if (word.size() != 4) return false;
    for (char c : word) {
      if (!IsDigit(c)) return false;
    }
    return true;
  }
  if (colon < 1 || colon > 2 || word.size() != colon + 3) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (i != colon && !IsDigit(word[i])) return false;
  }
  return LeadingNumber(word) <= 23 && LeadingNumber(word.substr(colon + 1)) <= 59;
}

bool IsReservedDeviceName(const std::string& name) {
  // The device is reached whatever extension follows: "nul.txt" is NUL too.
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

// A machine listing whose lines end in CR LF: a lone CR or LF in it is part of a name. Any
// machine-shaped line counts, so that a first line of garbage cannot turn that off.
bool IsMachineListingWithCrLf(const std::string& text) {
  if (text.find("\r\n") == std::string::npos) return false;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    // The blank is looked for within the line alone: a listing of long lines without one
    // must not be searched to its end for every line.
    const size_t blank = static_cast<size_t>(std::find(text.begin() + start, text.begin() + end, ' ') - text.begin());
    // Facts end in ';' just before the blank: a cheap look first, as LIST lines never do.
    if (blank < end && blank > start && text[blank - 1] == ';' &&
        IsMachineListingLine(text.substr(start, blank - start + 1)))
      return true;
    start = end + 2;
  }
  return false;
}

}  // namespace

bool IsSafeRemoteName(const std::string& name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F) return false;
    if (c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>') return false;
  }
  // '\\' and '|' may be the second byte of a two-byte character.
  if (FindLastSingleByteChar(name, "\\|") != std::string::npos) return false;
  char last = name.back();
  if (last == ' ' || last == '.') return false;  // also rules out "." and ".."
  size_t first = name.find_first_not_of(" \t");
  std::string trimmed = name.substr(first);
  if (trimmed == "." || trimmed == "..") return false;
  return !IsReservedDeviceName(name);
}

bool ParseListingLine(const std::string& line, const ListingClock& now, ListedEntry& out, std::string* unsafeName) {
  if (IsMachineListingLine(line)) return ParseMachineListingLine(line, now, out, unsafeName);
  // Windows servers list the DOS way; every other line goes by the Unix rules.
  if (IsDosListingLine(line)) {
    if (!ParseDosListingLine(line, out)) return false;
    if (IsSafeRemoteName(out.entry.name)) return true;
    if (unsafeName) *unsafeName = out.entry.name;
    return false;
  }
  out = ListedEntry();
  std::vector<Word> spans;
  spans.reserve(16);  // an ls line has nine words or a few more: one allocation, not five
  for (size_t i = 0; i < line.size();) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    Word w;
    w.start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    w.end = i;
    spans.push_back(w);
  }
  auto word = [&](size_t k) {
    return k < spans.size() ? line.substr(spans[k].start, spans[k].end - spans[k].start) : std::string();
  };

  std::string permissions, gluedCount;
  if (!ReadPermissionWord(word(0), permissions, gluedCount)) return false;
  // The link count: glued to the permissions after an ACL mark, or the next word.
  size_t next = 1;
  if (gluedCount.empty()) gluedCount = word(next++);
  if (!BeginsWithPositiveNumber(gluedCount)) return false;

  // Owner and group names may hold blanks, so the columns are found by their shape: the
  // size, the month, the day and the time or year, after at least one owner word. The
  // first place that fits wins, since the name comes last and may hold anything.
  size_t size = 0;
  for (size = next + 1; size + 3 < spans.size(); ++size) {
    if (IsDigit(line[spans[size].start]) && IsMonthWord(word(size + 1)) && IsDayWord(word(size + 2)) &&
        IsTimeOrYearWord(word(size + 3)))
      break;
  }
  if (size + 3 >= spans.size()) return false;
  const std::string timeWord = word(size + 3);

  // ls puts one blank between the time or year and the name: blanks after it are the name's.
  const size_t nameStart = spans[size + 3].end + 1;
  if (nameStart > line.size()) return false;
  std::string name = line.substr(nameStart);
  RemoteEntry& entry = out.entry;
  const char kind = permissions[0];
  if (kind == 'd') {
    entry.attributes = 0x10;
  } else if (kind == 'l') {
    // A link is a folder unless its target looks like a file name (holds a dot).
    size_t arrow = name.find(" -> ");
    std::string target;
    if (arrow != std::string::npos) {
      target = name.substr(arrow + 4);
      name.erase(arrow);
    }
    if (target.find('.') == std::string::npos) entry.attributes = 0x10;
  }
  if (!IsSafeRemoteName(name)) {
    if (unsafeName) *unsafeName = name;
    return false;
  }
  // A device lists "major, minor" where a file has its size.
  if (kind != 'b' && kind != 'c' && !ReadSize(word(size), entry.size)) return false;
  entry.name = name;
  out.permissions = permissions;

  EntryDate& date = out.date;
  size_t colon = timeWord.find(':');
  date.month = MonthOfWord(word(size + 1));
  date.day = static_cast<int>(LeadingNumber(word(size + 2)));
  if (colon != std::string::npos) {
    date.hour = static_cast<int>(LeadingNumber(timeWord));
    date.minute = static_cast<int>(LeadingNumber(timeWord.substr(colon + 1)));
    // A date in a later month than now is from last year; the same month is this year.
    date.year = now.month < date.month ? now.year - 1 : now.year;
  } else {
    date.year = static_cast<int>(LeadingNumber(timeWord));
  }
  return true;
}

std::vector<ListedEntry> ParseListing(const std::string& text, const ListingClock& now,
                                      std::vector<std::string>* hidden) {
  std::vector<ListedEntry> entries;
  ListedEntry parsed;
  const bool machine = IsMachineListingWithCrLf(text);
  size_t start = 0;
  std::string line;  // one buffer for every line
  while (start <= text.size()) {
    size_t end = machine ? text.find("\r\n", start) : LineEnd(text, start);
    if (end == std::string::npos) end = text.size();
    std::string unsafe;
    line.assign(text, start, end - start);
    if (!line.empty() && ParseListingLine(line, now, parsed, &unsafe)) {
      entries.push_back(parsed);
    } else if (hidden && !unsafe.empty()) {
      const size_t first = unsafe.find_first_not_of(" \t");
      const std::string trimmed = first == std::string::npos ? "" : unsafe.substr(first);
      if (trimmed != "." && trimmed != "..") hidden->push_back(unsafe);
    }
    start = end + (machine && end < text.size() ? 2 : 1);
  }
  return entries;
}

std::string RemoteSizeText(const RemoteEntry& entry) {
  if (entry.attributes & 0x10) return kFolderMarker;
  return std::to_string(entry.size);
}

std::string RemoteDateText(EntryDate date, long long lagMinutes) {
  ApplyTimeLag(date, lagMinutes);
  return FormatDateText(date);
}

std::string RemoteDateText(const ListedEntry& listed, long long lagMinutes) {
  return RemoteDateText(listed.date, listed.exactTime ? 0 : lagMinutes);
}
