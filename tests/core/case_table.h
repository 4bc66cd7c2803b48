// Cases kept in data files, one a line: tab-separated fields, the first naming a routine, the
// last the answer expected from it, the others its arguments. Lines starting with # and blank
// lines are skipped. \t \r \n \\ and \xHH stand for bytes a text file cannot show plainly.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace case_table {

using Args = std::vector<std::string>;
using Routine = std::function<std::string(const Args&)>;

inline std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

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

inline std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    char c = s[++i];
    if (c == 'x' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
  }
  return out;
}

// Runs every case of tests/<file> through the routine its first field names.
inline void RunCases(const std::string& file, const std::map<std::string, Routine>& routines) {
  std::ifstream in(std::string(std::getenv("VAKO_SOURCE_DIR")) + "/tests/" + file, std::ios::binary);
  ASSERT_TRUE(in) << file;
  std::string line;
  int number = 0, cases = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    Args f = Split(line, '\t');
    for (std::string& field : f) field = Unescape(field);
    ASSERT_TRUE(routines.count(f[0]) && f.size() > 1) << file << ":" << number << ": no routine or no answer";
    EXPECT_EQ(routines.at(f[0])(Args(f.begin() + 1, f.end() - 1)), f.back()) << file << ":" << number;
    ++cases;
  }
  EXPECT_GT(cases, 0) << file;
}

}  // namespace case_table
