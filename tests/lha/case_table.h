// Test cases kept in tab-separated files under tests/: one case a line, blank lines and
// lines starting with "#" skipped. Fields take \xNN, \t, \r, \n, \0 and \\ so that any byte
// (Shift-JIS halves, control characters) can be written.
#pragma once
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using Case = std::vector<std::string>;

inline std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    const char next = i + 1 < s.size() ? s[i + 1] : '\0';
    if (s[i] != '\\' || !next) {
      out += s[i];
    } else if (next == 'x' && i + 3 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      out += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next == '0' ? '\0' : next;
      ++i;
    }
  }
  return out;
}

inline std::vector<std::string> SplitOn(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) c == separator ? parts.emplace_back() : parts.back() += c;
  return parts;
}

// The cases of tests/RELATIVE (e.g. "lha/data/member_paths.tsv"), fields unescaped.
inline std::vector<Case> ReadCases(const std::string& relative) {
  const char* source = std::getenv("VAKO_SOURCE_DIR");
  std::string path = std::string(source ? source : ".") + "/tests/" + relative;
#ifdef _WIN32
  path = "Z:" + path;
#endif
  std::ifstream in(path);
  std::vector<Case> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    cases.push_back(SplitOn(line, '\t'));
    for (std::string& field : cases.back()) field = Unescape(field);
  }
  return cases;
}
