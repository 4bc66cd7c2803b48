#include "ftp/dos_listing.h"

#include <cstdint>

#include "ftp/listing_parser.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads 1-4 digits at pos; false when there are none or more than four.
bool ReadSmallNumber(const std::string& text, size_t& pos, int& value, size_t& digits) {
  value = 0;
  digits = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    if (++digits > 4) return false;
    value = value * 10 + (text[pos++] - '0');
  }
  return digits > 0;
}

void SkipBlanks(const std::string& text, size_t& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

struct DosDate {
  int year = 0, month = 0, day = 0;
};

// "MM-DD-YY", "MM-DD-YYYY" or "YYYY-MM-DD", with '-' or '/' between the numbers.
bool ReadDate(const std::string& line, size_t& pos, DosDate& date) {
  int n[3];
  size_t digits[3];
  for (int k = 0; k < 3; ++k) {
    if (k > 0) {
      if (pos >= line.size() || (line[pos] != '-' && line[pos] != '/')) return false;
      ++pos;
    }
    if (!ReadSmallNumber(line, pos, n[k], digits[k])) return false;
  }
  if (pos < line.size() && !IsBlank(line[pos])) return false;
  if (digits[0] == 4) {
    date = {n[0], n[1], n[2]};
  } else if (digits[0] <= 2 && digits[1] <= 2 && (digits[2] == 2 || digits[2] == 4)) {
    // Two-digit years: 70-99 are the 1900s, 00-69 the 2000s.
    int year = digits[2] == 4 ? n[2] : (n[2] >= 70 ? 1900 + n[2] : 2000 + n[2]);
    date = {year, n[0], n[1]};
  } else {
    return false;
  }
  return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31;
}

// "HH:MM", optionally followed (with or without a blank) by AM or PM.
bool ReadTime(const std::string& line, size_t& pos, int& hour, int& minute) {
  size_t digits = 0, minuteDigits = 0;
  if (!ReadSmallNumber(line, pos, hour, digits) || digits > 2) return false;
  if (pos >= line.size() || line[pos] != ':') return false;
  ++pos;
  if (!ReadSmallNumber(line, pos, minute, minuteDigits) || minuteDigits != 2 || minute > 59) return false;
  size_t mark = pos;
  SkipBlanks(line, mark);
  if (mark + 1 < line.size() && (line[mark + 1] == 'M' || line[mark + 1] == 'm') &&
      (mark + 2 == line.size() || IsBlank(line[mark + 2]))) {
    const char half = line[mark];
    const bool pm = half == 'P' || half == 'p';
    if (!pm && half != 'A' && half != 'a') return false;
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
    pos = mark + 2;
  } else if (hour > 23) {
    return false;
  }
  return pos == line.size() || IsBlank(line[pos]);
}

// The blanks that servers put after "<DIR>" at most.
const size_t kDirPadding = 10;

// The size column: digits, maybe grouped in thousands by commas ("9,730"); false when it
// does not fit in 64 bits.
bool ReadDosSize(const std::string& word, uint64_t& size) {
  if (word.empty() || !IsDigit(word[0])) return false;
  size = 0;
  size_t sinceComma = 0;
  bool grouped = false;
  for (size_t i = 0; i < word.size(); ++i) {
    const char c = word[i];
    if (c == ',') {
      // Each comma follows one to three digits and is followed by exactly three.
      if (grouped ? sinceComma != 3 : sinceComma > 3) return false;
      grouped = true;
      sinceComma = 0;
      continue;
    }
    if (!IsDigit(c)) return false;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (size > (UINT64_MAX - digit) / 10) return false;
    size = size * 10 + digit;
    ++sinceComma;
  }
  return !grouped || sinceComma == 3;
}

}  // namespace

bool IsDosListingLine(const std::string& line) {
  size_t pos = 0;
  SkipBlanks(line, pos);
  DosDate date;
  int hour = 0, minute = 0;
  if (!ReadDate(line, pos, date)) return false;
  SkipBlanks(line, pos);
  return ReadTime(line, pos, hour, minute);
}

bool ParseDosListingLine(const std::string& line, ListedEntry& out) {
  out = ListedEntry();
  size_t pos = 0;
  SkipBlanks(line, pos);
  DosDate date;
  if (!ReadDate(line, pos, date)) return false;
  SkipBlanks(line, pos);
  if (!ReadTime(line, pos, out.date.hour, out.date.minute)) return false;
  out.date.year = date.year;
  out.date.month = date.month;
  out.date.day = date.day;
  SkipBlanks(line, pos);

  const size_t wordStart = pos;
  while (pos < line.size() && !IsBlank(line[pos])) ++pos;
  const std::string kind = line.substr(wordStart, pos - wordStart);
  const bool folder = kind == "<DIR>";
  if (folder) {
    out.entry.attributes = 0x10;
  } else if (!ReadDosSize(kind, out.entry.size)) {
    return false;
  }
  if (pos >= line.size() || !IsBlank(line[pos])) return false;
  // A size stands right-aligned against the name, one blank before it: further blanks are
  // the name's own. The padding after "<DIR>" differs between servers; beyond the usual
  // ten blanks the name may begin with blanks of its own, and where it begins is unknown.
  const size_t blanks = pos;
  SkipBlanks(line, pos);
  if (folder && pos - blanks > kDirPadding) return false;
  if (!folder) pos = blanks + 1;
  out.entry.name = line.substr(pos);
  return !out.entry.name.empty();
}
