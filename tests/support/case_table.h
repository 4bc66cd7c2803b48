// Test cases kept in tab-separated files under tests/: one case a line, blank lines and
// lines starting with "#" skipped. Fields take \xNN, \t, \r, \n, \0 and \\ so that any byte
// (Shift-JIS halves, control characters) can be written.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
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

// The bytes of tests/RELATIVE (e.g. "favorites/data/wsftp.ini"); empty when missing.
inline std::string ReadTestFile(const std::string& relative) {
  const char* source = std::getenv("VAKO_SOURCE_DIR");
  std::string path = std::string(source ? source : ".") + "/tests/" + relative;
#ifdef _WIN32
  path = "Z:" + path;
#endif
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The cases of tests/RELATIVE (e.g. "lha/data/wildcards.tsv"); `escapes` false keeps every
// backslash as it is.
inline std::vector<Case> ReadCases(const std::string& relative, bool escapes = true) {
  std::vector<Case> cases;
  for (std::string line : SplitOn(ReadTestFile(relative), '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    cases.push_back(SplitOn(line, '\t'));
    if (escapes)
      for (std::string& field : cases.back()) field = Unescape(field);
  }
  return cases;
}

// Tables whose first field names a routine and whose last is the answer expected from it.
namespace case_table {

using Args = std::vector<std::string>;
using Routine = std::function<std::string(const Args&)>;

inline std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) text += (i ? separator : "") + parts[i];
  return text;
}

inline std::string Bool(bool b) { return b ? "1" : "0"; }
inline int Int(const std::string& s) { return std::stoi(s); }
template <typename... N>
std::string Numbers(const char* separator, N... n) { return Join({std::to_string(n)...}, separator); }
// A list of texts as <a><b>; an empty list is empty.
inline std::string List(const std::vector<std::string>& v) { return v.empty() ? "" : "<" + Join(v, "><") + ">"; }

// Runs every case of tests/<file> through the routine its first field names.
inline void RunCases(const std::string& file, const std::map<std::string, Routine>& routines) {
  const std::vector<Case> cases = ReadCases(file);
  ASSERT_FALSE(cases.empty()) << file;
  for (const Case& f : cases) {
    ASSERT_TRUE(routines.count(f[0]) && f.size() > 1) << file << ": no routine or no answer: " << f[0];
    EXPECT_EQ(routines.at(f[0])(Args(f.begin() + 1, f.end() - 1)), f.back()) << file << ": " << Join(f, " | ");
  }
}

}  // namespace case_table
