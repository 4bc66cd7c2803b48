#include "ftp/listing_parser.h"

#include <cstring>

#include "ftp/dos_listing.h"
#include "text/sjis.h"

const char kFolderMarker[] = "   ";

namespace {

// Any number that reaches a listing's date words stays far below the int range this way.
const long long kNumberCap = 999999999;

struct Word {
  size_t start = 0, end = 0;  // [start, end) in the line; start == end for a missing word
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
  static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int m = 0; m < 12; ++m) {
    if (word == kMonths[m]) return m + 1;
  }
  return static_cast<int>(LeadingNumber(word));
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

bool ParseListingLine(const std::string& line, const ListingClock& now, ListedEntry& out) {
  // Windows servers list the DOS way; every other line goes by the Unix rules.
  if (IsDosListingLine(line)) return ParseDosListingLine(line, out) && IsSafeRemoteName(out.entry.name);
  out = ListedEntry();
  // Words 0-8; the name is the rest of the line from the start of word 8.
  Word spans[9];
  size_t count = 0, i = 0;
  while (count < 9) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    spans[count].start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    spans[count].end = i;
    ++count;
  }
  for (size_t k = count; k < 9; ++k) spans[k].start = spans[k].end = line.size();

  auto word = [&](size_t k) { return line.substr(spans[k].start, spans[k].end - spans[k].start); };

  // A line without the group column lines up with the usual shape when the day is at
  // most 12: words 3-7 move to 4-8.
  if (BeginsWithPositiveNumber(word(1)) && BeginsWithPositiveNumber(word(3)) &&
      BeginsWithPositiveNumber(word(5)) && LeadingNumber(word(5)) <= 12) {
    for (size_t k = 8; k >= 4; --k) spans[k] = spans[k - 1];
  }

  if (!BeginsWithPositiveNumber(word(1))) return false;
  std::string sizeWord = word(4);
  if (!BeginsWithPositiveNumber(sizeWord) && (sizeWord.empty() || sizeWord[0] != '0')) return false;

  std::string name = line.substr(spans[8].start);
  std::string permissions = word(0);
  RemoteEntry& entry = out.entry;
  if (!permissions.empty() && permissions[0] == 'd') {
    entry.attributes = 0x10;
  } else if (!permissions.empty() && permissions[0] == 'l') {
    // A link is a folder unless its target looks like a file name (holds a dot).
    size_t arrow = name.find(" -> ");
    std::string target;
    if (arrow != std::string::npos) {
      target = name.substr(arrow + 4);
      name.erase(arrow);
    }
    if (target.find('.') == std::string::npos) entry.attributes = 0x10;
  }
  if (!IsSafeRemoteName(name)) return false;
  if (!ReadSize(sizeWord, entry.size)) return false;
  entry.name = name;
  out.permissions = permissions;

  EntryDate& date = out.date;
  std::string timeWord = word(7);
  size_t colon = timeWord.find(':');
  date.month = MonthOfWord(word(5));
  date.day = static_cast<int>(LeadingNumber(word(6)));
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

std::vector<ListedEntry> ParseListing(const std::string& text, const ListingClock& now) {
  std::vector<ListedEntry> entries;
  ListedEntry parsed;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (end > start && ParseListingLine(text.substr(start, end - start), now, parsed)) {
      entries.push_back(parsed);
    }
    start = end + 1;
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
