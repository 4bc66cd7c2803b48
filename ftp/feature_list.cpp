#include "ftp/feature_list.h"

#include <cctype>

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::vector<std::string> FeatureLines(const std::string& featReply) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < featReply.size()) {
    size_t end = featReply.find('\n', start);
    if (end == std::string::npos) end = featReply.size();
    const std::string line = featReply.substr(start, end - start);
    start = end + 1;
    // Feature lines start with a blank; the first and last lines start with the code.
    if (line.empty() || line[0] != ' ') continue;
    const size_t first = line.find_first_not_of(' ');
    const size_t last = line.find_last_not_of(" \r");
    if (first == std::string::npos || last == std::string::npos || last < first) continue;
    lines.push_back(line.substr(first, last - first + 1));
  }
  return lines;
}

bool FeatureListed(const std::string& featReply, const std::string& feature) {
  const std::string wanted = Upper(feature);
  for (const std::string& line : FeatureLines(featReply))
    if (Upper(line) == wanted) return true;
  return false;
}
