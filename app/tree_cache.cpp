#include "app/tree_cache.h"

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

#include "text/path_text.h"
#include "text/sjis.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool ReadWholeFile(const std::string& path, std::string& text) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  text.clear();
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) text.append(chunk, got);
  return !std::ferror(f.get());
}

bool WriteWholeFile(const std::string& path, const std::string& text, const char* mode) {
  File f(std::fopen(path.c_str(), mode));
  if (!f) return false;
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f.get()) != text.size()) return false;
  return std::fclose(f.release()) == 0;
}

}  // namespace

std::string TreeCacheLineOf(const std::string& currentRemoteFolder, const std::string& name) {
  std::string folder = currentRemoteFolder;
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  // "./" is where a refused start folder leaves the connection: its place in the tree
  // is unknown, so its folders are recorded below the root.
  if (folder == ".") folder.clear();
  if (!folder.empty() && folder[0] == '/') folder.erase(0, 1);
  return folder.empty() ? name + "/" : folder + "/" + name + "/";
}

std::vector<std::string> SplitTreeCacheText(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > start && text[end - 1] == '\r') --end;
    if (end - start <= kTreeCacheLineLimit) lines.push_back(text.substr(start, end - start));
    start = next;
  }
  return lines;
}

int ReadTreeCacheFile(const std::string& path, std::vector<std::string>& lines) {
  std::string text;
  if (!ReadWholeFile(path, text)) return 0;
  lines = SplitTreeCacheText(text);
  return 1;
}

int AppendTreeCacheLine(const std::string& path, const std::string& line) {
  // One folder, one line: a line end inside would add a line nobody listed.
  if (line.find_first_of("\r\n") != std::string::npos) return 0;
  return WriteWholeFile(path, line + "\r\n", "ab") ? 1 : 0;
}

int CopyTreeCacheFile(const std::string& from, const std::string& to) {
  std::string text;
  return ReadWholeFile(from, text) && ReplaceTreeCacheFile(to, text) ? 1 : 0;
}

static bool MoveTreeCacheFileOver(const std::string& fresh, const std::string& path) {
#ifdef _WIN32
  // One step: the old file stays whole until the new one has taken its name.
  return MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(fresh.c_str(), path.c_str()) == 0;
#endif
}

int ReplaceTreeCacheFile(const std::string& path, const std::string& text) {
  const std::string fresh = path + ".new";
  if (WriteWholeFile(fresh, text, "wb") && MoveTreeCacheFileOver(fresh, path)) return 1;
  std::remove(fresh.c_str());
  return 0;
}

int RemoveTreeCacheLine(const std::string& path, const std::string& line) {
  std::vector<std::string> lines;
  if (!ReadTreeCacheFile(path, lines)) return 0;
  std::string kept;
  for (const std::string& l : lines) {
    if (l != line) kept += l + "\r\n";
  }
  return ReplaceTreeCacheFile(path, kept);
}

std::string TreeCachePathOfHost(const std::string& programFolder, const std::string& hostName) {
  std::string safe = hostName;
  for (size_t i = 0; i < safe.size(); i += CharWidthAt(safe, i)) {
    if (CharWidthAt(safe, i) == 2) continue;  // a two-byte character is a character of its own
    unsigned char c = static_cast<unsigned char>(safe[i]);
    if (c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' ||
        c == '"' || c == '<' || c == '>' || c == '|') {
      safe[i] = '_';
    }
  }
  if (programFolder.empty()) return safe + ".tre";
  return JoinLocalPath(programFolder, safe + ".tre");
}

std::string TreeCachePathOfFavorite(const std::string& favoritePath) {
  if (favoritePath.size() < 4) return favoritePath + ".tre";
  return favoritePath.substr(0, favoritePath.size() - 4) + ".tre";
}

int TreeCacheLineSet::Load(const std::string& path) {
  std::vector<std::string> read;
  if (!ReadTreeCacheFile(path, read)) return 0;
  lines.clear();
  lines.insert(read.begin(), read.end());
  return 1;
}

int TreeCacheLineSet::AddIfMissing(const std::string& path, const std::string& line) {
  if (lines.count(line)) return 1;
  if (!AppendTreeCacheLine(path, line)) return 0;
  lines.insert(line);
  return 1;
}

std::string KeptTreeCachePath(const std::string& programFolder, const std::string& hostName,
                              const std::string& favoritePath) {
  if (!hostName.empty() || favoritePath.empty()) return TreeCachePathOfHost(programFolder, hostName);
  const size_t n = favoritePath.size();
  const bool bok = n > 4 && favoritePath[n - 4] == '.' && (favoritePath[n - 3] | 0x20) == 'b' &&
                   (favoritePath[n - 2] | 0x20) == 'o' && (favoritePath[n - 1] | 0x20) == 'k';
  // Only ".BOK" is cut, so that a file of another name never names a file outside its folder.
  return bok ? TreeCachePathOfFavorite(favoritePath) : favoritePath + ".tre";
}
