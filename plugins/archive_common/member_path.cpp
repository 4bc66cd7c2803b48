#include "plugins/archive_common/member_path.h"

#include "text/sjis.h"

namespace {

const size_t kLongestName = 1023;

// Splits at separators. With SJIS_AWARE a lead byte followed by a trail byte is one character,
// so a 0x5C trail byte does not split; without it every '\\' and '/' splits.
std::vector<std::string> SplitName(const std::string& name, bool sjis_aware, bool& leading,
                                   bool& trailing) {
  std::vector<std::string> parts;
  std::string part;
  leading = false;
  trailing = false;
  size_t i = 0;
  while (i < name.size()) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (sjis_aware && CheckedCharWidthAt(name, i) == 2) {
      part += name.substr(i, 2);
      i += 2;
      trailing = false;
      continue;
    }
    if (c == '\\' || c == '/') {
      if (i == 0) leading = true;
      parts.push_back(part);
      part.clear();
      trailing = true;
    } else {
      part += static_cast<char>(c);
      trailing = false;
    }
    ++i;
  }
  parts.push_back(part);
  return parts;
}

bool OnlyDotsAndBlanks(const std::string& part) {
  for (char c : part)
    if (c != '.' && c != ' ') return false;
  return true;
}

// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, also with an extension or trailing blanks.
bool IsDeviceName(const std::string& part) {
  std::string base = part.substr(0, part.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::string upper;
  for (char c : base) upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  if (upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0))
    return upper[3] >= '1' && upper[3] <= '9';
  return false;
}

// The problem of one reading of the name, or "" when that reading is harmless.
std::string ProblemOf(const std::vector<std::string>& parts, bool leading) {
  if (leading) return "absolute path";
  for (const std::string& part : parts) {
    if (part.empty() || part == ".") continue;
    if (OnlyDotsAndBlanks(part)) return "parent folder (..) in path";
    if (IsDeviceName(part)) return "device name in path";
  }
  return "";
}

}  // namespace

MemberPath CheckMemberPath(const std::string& name) {
  MemberPath result;
  if (name.empty()) {
    result.problem = "empty name";
    return result;
  }
  if (name.size() > kLongestName) {
    result.problem = "name too long";
    return result;
  }
  // ':' and NUL are never trail bytes, so any such byte is the character itself.
  if (name.find(':') != std::string::npos) {
    result.problem = "drive letter or colon in name";
    return result;
  }
  if (name.find('\0') != std::string::npos) {
    result.problem = "zero byte in name";
    return result;
  }
  bool leading = false, trailing = false;
  std::vector<std::string> parts = SplitName(name, true, leading, trailing);
  std::string problem = ProblemOf(parts, leading);
  if (problem.empty()) {
    bool raw_leading = false, raw_trailing = false;
    problem = ProblemOf(SplitName(name, false, raw_leading, raw_trailing), raw_leading);
    if (!problem.empty()) problem += " (0x5C trail byte)";
  }
  if (!problem.empty()) {
    result.problem = problem;
    return result;
  }
  for (std::string& part : parts)
    if (!part.empty() && part != ".") result.parts.push_back(std::move(part));
  if (result.parts.empty()) {
    result.problem = "empty name";
    return result;
  }
  result.is_folder = trailing;
  result.ok = true;
  return result;
}

bool EndsWithSeparator(const std::string& text) {
  if (text.empty()) return false;
  // Walk from the start: only a forward walk knows where each character begins.
  size_t i = 0;
  while (i + 1 < text.size()) i += CheckedCharWidthAt(text, i);
  return i == text.size() - 1 && (text[i] == '\\' || text[i] == '/');
}

std::string JoinMemberPath(const std::string& folder, const MemberPath& path, char separator) {
  std::string joined = folder;
  if (!joined.empty() && !EndsWithSeparator(joined)) joined += separator;
  for (size_t i = 0; i < path.parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += path.parts[i];
  }
  return joined;
}

std::string MemberPathText(const MemberPath& path) {
  std::string text;
  for (size_t i = 0; i < path.parts.size(); ++i) {
    if (i > 0) text += '/';
    text += path.parts[i];
  }
  return text;
}
