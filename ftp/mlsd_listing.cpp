#include "ftp/mlsd_listing.h"

#include <cstdint>
#include <vector>

#include "ftp/feature_list.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsFactNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '.' || c == '-' || c == '_';
}

struct Fact {
  std::string name;  // lower case
  std::string value;
};

// The facts of a line up to its first blank; false when they do not have the shape.
bool ReadFacts(const std::string& facts, std::vector<Fact>* out) {
  if (facts.empty() || facts.back() != ';') return false;
  size_t start = 0;
  while (start < facts.size()) {
    const size_t end = facts.find(';', start);
    const size_t equals = facts.find('=', start);
    if (equals == std::string::npos || equals >= end || equals == start) return false;
    for (size_t i = start; i < equals; ++i)
      if (!IsFactNameChar(facts[i])) return false;
    if (out) out->push_back(Fact{Lower(facts.substr(start, equals - start)), facts.substr(equals + 1, end - equals - 1)});
    start = end + 1;
  }
  return true;
}

const std::string* FindFact(const std::vector<Fact>& facts, const char* name) {
  for (const Fact& f : facts)
    if (f.name == name) return &f.value;
  return nullptr;
}

// Digits only, and they fit in 64 bits.
bool ReadWholeSize(const std::string& text, uint64_t& size) {
  if (text.empty()) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) return false;
    value = value * 10 + digit;
  }
  size = value;
  return true;
}

int Digits(const std::string& text, size_t at, size_t count) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

int DaysOf(int year, int month) {
  if (month == 2) return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28;
  return DaysInMonth(month);
}

// The permission word a long listing shows, from the kind and the octal UNIX.mode fact
// ("0644", or "0o644" as Python writes it); empty when the mode is not given or not octal.
std::string PermissionWord(char kind, const std::string* fact) {
  if (!fact) return std::string();
  std::string mode = *fact;
  if (mode.size() > 2 && mode[0] == '0' && (mode[1] == 'o' || mode[1] == 'O')) mode.erase(0, 2);
  if (mode.empty() || mode.size() > 6) return std::string();
  unsigned bits = 0;
  for (char c : mode) {
    if (c < '0' || c > '7') return std::string();
    bits = bits * 8 + static_cast<unsigned>(c - '0');
  }
  std::string word(1, kind);
  static const char kLetters[] = "rwx";
  for (int i = 8; i >= 0; --i) word += (bits >> i) & 1 ? kLetters[(8 - i) % 3] : '-';
  // setuid, setgid and sticky replace the x of their triplet.
  if (bits & 04000) word[3] = word[3] == 'x' ? 's' : 'S';
  if (bits & 02000) word[6] = word[6] == 'x' ? 's' : 'S';
  if (bits & 01000) word[9] = word[9] == 'x' ? 't' : 'T';
  return word;
}

}  // namespace

bool IsMachineListingLine(const std::string& line) {
  const size_t blank = line.find(' ');
  return blank != std::string::npos && ReadFacts(line.substr(0, blank), nullptr);
}

bool ReadMachineTime(const std::string& value, EntryDate& date) {
  if (value.size() < 14) return false;
  for (size_t i = 0; i < 14; ++i)
    if (!IsDigit(value[i])) return false;
  if (value.size() > 14) {
    if (value[14] != '.' || value.size() == 15) return false;
    for (size_t i = 15; i < value.size(); ++i)
      if (!IsDigit(value[i])) return false;
  }
  EntryDate d;
  d.year = Digits(value, 0, 4);
  d.month = Digits(value, 4, 2);
  d.day = Digits(value, 6, 2);
  d.hour = Digits(value, 8, 2);
  d.minute = Digits(value, 10, 2);
  const int second = Digits(value, 12, 2);
  if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysOf(d.year, d.month)) return false;
  if (d.hour > 23 || d.minute > 59 || second > 60) return false;  // 60: a leap second
  date = d;
  return true;
}

bool ParseMachineListingLine(const std::string& line, const ListingClock& now, ListedEntry& out,
                             std::string* unsafeName) {
  out = ListedEntry();
  const size_t blank = line.find(' ');
  std::vector<Fact> facts;
  if (blank == std::string::npos || !ReadFacts(line.substr(0, blank), &facts)) return false;
  // Everything after that one blank is the name, blanks at its start included.
  const std::string name = line.substr(blank + 1);

  const std::string* typeFact = FindFact(facts, "type");
  const std::string type = typeFact ? Lower(*typeFact) : std::string("file");
  if (type == "cdir" || type == "pdir") return false;
  char kind = '-';
  if (type == "dir") {
    kind = 'd';
  } else if (type.substr(0, type.find(':')) == "os.unix=slink" || type.substr(0, type.find(':')) == "os.unix=symlink") {
    // A symbolic link ("OS.unix=slink:target", "OS.unix=symlink"): as in a long listing,
    // a folder unless its target's last part looks like a file name (holds a dot).
    kind = 'l';
  }
  RemoteEntry& entry = out.entry;
  if (kind == 'd') entry.attributes = 0x10;
  if (kind == 'l') {
    const size_t colon = typeFact->find(':');
    const std::string target = colon == std::string::npos ? std::string() : typeFact->substr(colon + 1);
    const size_t slash = target.find_last_of('/');
    const std::string last = slash == std::string::npos ? target : target.substr(slash + 1);
    if (last.find('.') == std::string::npos) entry.attributes = 0x10;
  }
  if (!IsSafeRemoteName(name)) {
    if (unsafeName) *unsafeName = name;
    return false;
  }
  const std::string* size = FindFact(facts, "size");
  if (size && !ReadWholeSize(*size, entry.size)) return false;
  entry.name = name;
  out.permissions = PermissionWord(kind, FindFact(facts, "unix.mode"));
  out.exactTime = true;
  const std::string* modify = FindFact(facts, "modify");
  if (modify && ReadMachineTime(*modify, out.date) && now.toLocalTime) now.toLocalTime(out.date);
  return true;
}

MachineListingFeature ReadMachineListingFeature(const std::string& featReply) {
  MachineListingFeature feature;
  for (const std::string& line : FeatureLines(featReply)) {
    // " MLST type*;size*;modify*;"
    if (Lower(line.substr(0, 5)) != "mlst ") continue;
    const std::string list = line.substr(5);
    static const char* const kWanted[4] = {"type", "size", "modify", "unix.mode"};
    bool offered[4] = {}, on[4] = {};
    std::string spelled[4];
    size_t at = 0;
    while (at < list.size()) {
      size_t semicolon = list.find(';', at);
      if (semicolon == std::string::npos) semicolon = list.size();
      std::string fact = list.substr(at, semicolon - at);
      at = semicolon + 1;
      const bool starred = !fact.empty() && fact.back() == '*';
      if (starred) fact.pop_back();
      for (int k = 0; k < 4; ++k) {
        if (Lower(fact) != kWanted[k]) continue;
        offered[k] = true;
        on[k] = starred;
        spelled[k] = fact;
      }
    }
    if (!offered[0] || !offered[1] || !offered[2]) return feature;
    feature.usable = true;
    feature.needsOpts = !on[0] || !on[1] || !on[2];
    if (feature.needsOpts || (offered[3] && !on[3])) {
      // OPTS MLST names every fact wanted on: those not named go off.
      feature.optsCommand = "OPTS MLST ";
      for (int k = 0; k < 4; ++k)
        if (offered[k]) feature.optsCommand += spelled[k] + ";";
    }
    return feature;
  }
  return feature;
}
