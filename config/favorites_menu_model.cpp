#include "config/favorites_menu_model.h"

#include "config/favorite_names.h"
#include "text/path_text.h"

std::string FavoritesMenuModel::PathOf(int id) const {
  if (id < kFirstFavoriteEntry || id >= kFavoriteEntryEnd) return "";
  for (const FavoritePopup& popup : popups)
    for (const FavoriteEntry& entry : popup.entries)
      if (entry.id == id) return entry.path;
  for (const FavoriteEntry& entry : entries)
    if (entry.id == id) return entry.path;
  return "";
}

FavoritesMenuModel MakeFavoritesMenuModel(const std::string& programFolder, const std::vector<FavoriteFolder>& folders,
                                          const std::vector<std::string>& sortedNames) {
  FavoritesMenuModel model;
  long next = kFirstFavoriteEntry;
  auto entryOf = [&](const std::string& folder, const std::string& fileName) {
    FavoriteEntry entry;
    entry.text = FavoriteDisplayName(fileName);
    entry.path = JoinLocalPath(folder, fileName);
    entry.id = next < kFavoriteEntryEnd ? static_cast<int>(next) : kInertFavoriteCommand;
    ++next;
    return entry;
  };
  for (size_t f = 0; f < folders.size() && f < kMaxFavoriteFolders; ++f) {
    FavoritePopup popup;
    popup.title = folders[f].name;
    const std::string folder = JoinLocalPath(programFolder, folders[f].name);
    for (const std::string& file : folders[f].files) popup.entries.push_back(entryOf(folder, file));
    model.popups.push_back(std::move(popup));
  }
  for (const std::string& name : sortedNames) model.entries.push_back(entryOf(programFolder, name));
  return model;
}
