// What the Favorites menu holds below its fixed entries: one pop-up per sub-folder of the
// program folder, then the favorites of the program folder itself, each entry with its
// command id and the file it was listed from.
#pragma once
#include <string>
#include <vector>

// The command ids of favorite entries: 20000 up to, not including, 20100. An entry numbered
// beyond them is shown with kInertFavoriteCommand, which nothing handles.
constexpr int kFirstFavoriteEntry = 20000;
constexpr int kFavoriteEntryEnd = 20100;
constexpr int kInertFavoriteCommand = kFavoriteEntryEnd;
constexpr size_t kMaxFavoriteFolders = 100;

struct FavoriteEntry {
  std::string text;  // the display name
  std::string path;  // the favorite file
  int id = 0;
};

struct FavoritePopup {
  std::string title;  // the sub-folder's name
  std::vector<FavoriteEntry> entries;
};

struct FavoritesMenuModel {
  std::vector<FavoritePopup> popups;
  std::vector<FavoriteEntry> entries;  // those of the program folder

  // The file of the entry with this command id; empty for an id no entry has.
  std::string PathOf(int id) const;
};

// A sub-folder of the program folder and its favorite file names, in file-system order.
struct FavoriteFolder {
  std::string name;
  std::vector<std::string> files;
};

// Numbers the entries from 20000 in the order they are appended: every pop-up's entries
// first, then the program folder's names (already sorted). At most 100 pop-ups.
FavoritesMenuModel MakeFavoritesMenuModel(const std::string& programFolder, const std::vector<FavoriteFolder>& folders,
                                          const std::vector<std::string>& sortedNames);
