#include "app/tree_cache_rename.h"

#include <cstdio>
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
  std::string fresh = path + ".ren";
  std::FILE* f = std::fopen(fresh.c_str(), "wb");
  if (!f) return 0;
  bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  written = std::fclose(f) == 0 && written;
  // Windows will not rename onto an existing file; the old one goes first.
  if (!written || (std::rename(fresh.c_str(), path.c_str()) != 0 &&
                   (std::remove(path.c_str()) != 0 || std::rename(fresh.c_str(), path.c_str()) != 0))) {
    std::remove(fresh.c_str());
    return 0;
  }
  return 1;
}
