#include "plugins/unlha32/wildcard.h"

#include <vector>

#include "text/sjis.h"

namespace {

// Splits into characters; a character is one byte or a Shift-JIS pair. Separators and ASCII
// letters are folded so that comparisons ignore their differences.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> chars;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (CheckedCharWidthAt(text, i) == 2) {
      chars.push_back(text.substr(i, 2));
      i += 2;
      continue;
    }
    char folded = static_cast<char>(c);
    if (c == '\\') folded = '/';
    if (c >= 'a' && c <= 'z') folded = static_cast<char>(c - 32);
    chars.push_back(std::string(1, folded));
    ++i;
  }
  return chars;
}

bool Match(const std::vector<std::string>& p, const std::vector<std::string>& n) {
  // Iterative matching with one backtrack point for the last '*'.
  size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && p[pi] == "*") {
      star = pi++;
      mark = ni;
    } else if (pi < p.size() && (p[pi] == "?" || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (star != std::string::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == "*") ++pi;
  return pi == p.size();
}

}  // namespace

bool HasWildcard(const std::string& text) {
  for (const std::string& c : Characters(text))
    if (c == "*" || c == "?") return true;
  return false;
}

bool MatchWildcard(const std::string& pattern, const std::string& name) {
  std::vector<std::string> p = Characters(pattern);
  std::vector<std::string> n = Characters(name);
  if (Match(p, n)) return true;
  size_t k = p.size();
  if (k >= 3 && p[k - 3] == "*" && p[k - 2] == "." && p[k - 1] == "*") {
    p.resize(k - 2);
    return Match(p, n);
  }
  return false;
}

std::string UpperCaseName(const std::string& name) {
  std::string out;
  size_t i = 0;
  while (i < name.size()) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (CheckedCharWidthAt(name, i) == 2) {
      out.append(name, i, 2);
      i += 2;
      continue;
    }
    out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : static_cast<char>(c);
    ++i;
  }
  return out;
}

bool SameMemberName(const std::string& a, const std::string& b) {
  return Characters(a) == Characters(b);
}
