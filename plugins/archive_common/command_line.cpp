#include "plugins/archive_common/command_line.h"

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

bool ExpandResponseFiles(std::vector<std::string>& words, const ReadWholeFile& read,
                         std::string& error) {
  std::vector<std::string> expanded;
  for (const std::string& word : words) {
    if (word.size() < 2 || word[0] != '@') {
      expanded.push_back(word);
      continue;
    }
    std::string path = word.substr(1);
    std::string text;
    if (!read(path, text)) {
      error = "cannot read response file " + path;
      return false;
    }
    // Each line on its own, so a quote left open ends with its line.
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      for (std::string& w : SplitCommandLine(line))
        expanded.push_back(std::move(w));
      start = end + 1;
    }
  }
  words.swap(expanded);
  return true;
}
