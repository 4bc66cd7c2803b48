#include "ftp/feature_list.h"

#include <cctype>

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

bool FeatureListed(const std::string& featReply, const std::string& feature) {
  const std::string wanted = Upper(feature);
  size_t start = 0;
  while (start < featReply.size()) {
    size_t end = featReply.find('\n', start);
    if (end == std::string::npos) end = featReply.size();
    std::string line = featReply.substr(start, end - start);
    start = end + 1;
    // Feature lines start with a blank; the first and last lines start with the code.
    if (line.empty() || line[0] != ' ') continue;
    const size_t first = line.find_first_not_of(' ');
    const size_t last = line.find_last_not_of(" \r");
    if (first == std::string::npos || last == std::string::npos) continue;
    if (Upper(line.substr(first, last - first + 1)) == wanted) return true;
  }
  return false;
}
