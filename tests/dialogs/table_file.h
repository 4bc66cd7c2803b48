// Tables of test cases kept as data files in the source tree: one case a line, its cells
// split at tabs; empty lines and lines starting with '#' are skipped. Cells may write bytes
// as C escapes (\xNN, \r, \n, \t; any other escaped character stands for itself).
#pragma once
#include <fstream>
#include <string>
#include <vector>

#include "support/test_env.h"

using TableRow = std::vector<std::string>;

inline std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
    } else if (text[++i] == 'x') {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i] == 'r' ? '\r' : text[i] == 'n' ? '\n' : text[i] == 't' ? '\t' : text[i];
    }
  }
  return out;
}

// The rows of tests/<path>; `escapes` false keeps every backslash as it is.
inline std::vector<TableRow> ReadTable(const std::string& path, bool escapes = true) {
  std::string file = testenv::Get("VAKO_SOURCE_DIR") + "/tests/" + path;
#ifdef _WIN32
  file = testenv::WinePath(file);
#endif
  std::ifstream in(file, std::ios::binary);
  std::vector<TableRow> rows;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    rows.emplace_back();
    for (size_t start = 0;;) {
      size_t tab = line.find('\t', start);
      const std::string cell = line.substr(start, tab - start);
      rows.back().push_back(escapes ? Unescape(cell) : cell);
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
  }
  return rows;
}
