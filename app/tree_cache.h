// The tree cache: the remote folders a connection has seen, one line per folder, the
// path without its leading slash and ending in one ("pub/", "home/user/pub/").
#pragma once
#include <string>
#include <unordered_set>
#include <vector>

// The line of the folder `name` listed in `currentRemoteFolder` ("/" gives "name/",
// "/home/user" gives "home/user/name/"). A trailing slash on the current folder does
// not change its line; "./" counts as the root.
std::string TreeCacheLineOf(const std::string& currentRemoteFolder, const std::string& name);

// Longer lines of a tree cache file are left out when it is read: no server path is that
// long, and a kept file may come from anywhere.
constexpr size_t kTreeCacheLineLimit = 32768;

// The lines of a tree cache file's text. Lines end in CR LF (LF alone is read too); a
// last line without its line end still counts; lines over kTreeCacheLineLimit bytes are left out.
std::vector<std::string> SplitTreeCacheText(const std::string& text);

// Whole-file helpers. Each opens and closes the file within the call; 1 on success.
// A line holding CR or LF is never appended (0).
int ReadTreeCacheFile(const std::string& path, std::vector<std::string>& lines);
int AppendTreeCacheLine(const std::string& path, const std::string& line);
int CopyTreeCacheFile(const std::string& from, const std::string& to);

// Rewrites a tree cache file through a new file beside it that then takes the old one's
// name in one step: when anything fails the old file stays whole. 1 on success.
int ReplaceTreeCacheFile(const std::string& path, const std::string& text);

// Removes every line equal to `line` (letter case counting). The rest is written to a
// new file beside it that then takes the old one's place, so on any failure the old file
// stays whole. 0 when the file cannot be read or the new one cannot be written.
int RemoveTreeCacheLine(const std::string& path, const std::string& line);

// The kept tree cache of a favorite host: the host name with ".tre" in the program
// folder. Characters a file name cannot hold are replaced by '_' so that no host name
// can name a file elsewhere.
std::string TreeCachePathOfHost(const std::string& programFolder, const std::string& hostName);

// The tree cache beside a favorite file: its last four characters (".BOK") become ".tre".
std::string TreeCachePathOfFavorite(const std::string& favoritePath);

// The kept tree cache of a connection made from a favorite: named after the host, or, for a
// favorite without a host name, after the favorite file itself, beside it, so that such
// favorites never share one file named only ".tre".
std::string KeptTreeCachePath(const std::string& programFolder, const std::string& hostName,
                              const std::string& favoritePath);

// The lines of the working file during one listing, to append each folder once.
struct TreeCacheLineSet {
  std::unordered_set<std::string> lines;

  int Load(const std::string& path);
  // Appends the line to the file unless it is already there. 0 only on a write failure.
  int AddIfMissing(const std::string& path, const std::string& line);
};
