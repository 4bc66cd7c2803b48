#include "app/tree_cache_rename.h"

#include <unordered_set>

#include "app/tree_cache.h"

std::vector<std::string> RenameTreeCacheDescendants(const std::vector<std::string>& lines,
                                                    const std::string& oldLine, const std::string& newLine) {
  std::vector<std::string> result;
  std::unordered_set<std::string> seen;
  for (const std::string& line : lines) {
    std::string renamed = line;
    if (!oldLine.empty() && line.size() > oldLine.size() && line.compare(0, oldLine.size(), oldLine) == 0)
      renamed = newLine + line.substr(oldLine.size());
    if (seen.insert(renamed).second) result.push_back(renamed);
  }
  return result;
}

int RenameTreeCacheDescendantsInFile(const std::string& path, const std::string& oldLine,
                                     const std::string& newLine) {
  std::vector<std::string> lines;
  if (!ReadTreeCacheFile(path, lines)) return 0;
  std::vector<std::string> renamed = RenameTreeCacheDescendants(lines, oldLine, newLine);
  if (renamed == lines) return 1;
  std::string text;
  for (const std::string& line : renamed) text += line + "\r\n";
  return ReplaceTreeCacheFile(path, text);
}
