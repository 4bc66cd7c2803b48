// The Favorites menu: the favorite files of the program folder and its sub-folders.
#include <windows.h>

#include <cstdint>

#include "app/app_state_win.h"
#include "app/main_window_win.h"
#include "app/system_text_case_win.h"
#include "config/favorite_names.h"
#include "config/favorites_menu_model.h"
#include "config/favorites_win.h"

std::vector<std::string> FavoriteNames;

static FavoritesMenuModel MenuModel;

// The Favorites menu keeps "Add Favorites", "Open Favorite...", "Arrange Favorites..." and
// the separator; everything below them is rebuilt.
static const int kFixedFavoriteItems = 4;
static const int kFavoritesMenuPosition = 5;

namespace {
struct FindHandle {
  HANDLE h;
  explicit FindHandle(HANDLE handle) : h(handle) {}
  ~FindHandle() {
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
};
}  // namespace

// The favorite file names directly in the folder, in file-system order.
static std::vector<std::string> FavoriteFilesIn(const std::string& folder, size_t limit = SIZE_MAX) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA((folder + "*.BOK").c_str(), &found));
  if (find.h == INVALID_HANDLE_VALUE) return names;
  do {
    if (names.size() >= limit) break;
    // The pattern also matches longer extensions through their short names.
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsFavoriteFileName(found.cFileName))
      names.push_back(found.cFileName);
  } while (FindNextFileA(find.h, &found));
  return names;
}

static std::vector<FavoriteFolder> FavoriteFolders() {
  std::vector<FavoriteFolder> folders;
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA((ProgramFolder + "*").c_str(), &found));
  if (find.h == INVALID_HANDLE_VALUE) return folders;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (folders.size() >= kMaxFavoriteFolders) break;
    folders.push_back({name, FavoriteFilesIn(ProgramFolder + name + "\\")});
  } while (FindNextFileA(find.h, &found));
  return folders;
}

static void AppendEntries(HMENU menu, const std::vector<FavoriteEntry>& entries) {
  for (const FavoriteEntry& entry : entries) AppendMenuA(menu, MF_STRING, entry.id, entry.text.c_str());
}

void ScanFavorites() {
  FavoriteNames = FavoriteFilesIn(ProgramFolder, kMaxFavoriteNames);
  BuildFavoritesMenu();
}

void BuildFavoritesMenu() {
  SortFavoriteNames(FavoriteNames, SystemTextCase());
  MenuModel = MakeFavoritesMenuModel(ProgramFolder, FavoriteFolders(), FavoriteNames);
  HMENU menu = GetSubMenu(MainMenu, kFavoritesMenuPosition);
  if (!menu) return;
  // Deleting by position destroys a pop-up with its entries, so rebuilds never pile up.
  while (GetMenuItemCount(menu) > kFixedFavoriteItems) DeleteMenu(menu, kFixedFavoriteItems, MF_BYPOSITION);
  for (const FavoritePopup& folder : MenuModel.popups) {
    HMENU popup = CreatePopupMenu();
    AppendEntries(popup, folder.entries);
    AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), folder.title.c_str());
  }
  AppendEntries(menu, MenuModel.entries);
  if (MainWindow) DrawMenuBar(MainWindow);
}

void ConnectFromFavoriteEntry(int id) {
  const std::string path = MenuModel.PathOf(id);
  if (!path.empty()) ConnectFromFavorite(path.c_str());
}
