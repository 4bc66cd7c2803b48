// The commands of the Favorites menu: Add Favorites, Open Favorite and Arrange Favorites.
#include <windows.h>

#include "app/app_state_win.h"
#include "app/message_boxes_win.h"
#include "app/string_table_win.h"
#include "config/add_favorite_dialog_win.h"
#include "config/favorite_host_file_win.h"
#include "config/favorite_names.h"
#include "config/favorites_win.h"
#include "config/host_profile.h"
#include "config/options.h"
#include "config/open_file_dialog_win.h"
#include "resources/resource_ids.h"
#include "text/path_text.h"

static bool FileExistsInProgramFolder(const std::string& name) {
  return GetFileAttributesA(JoinLocalPath(ProgramFolder, name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void AddFavorite() {
  if (FavoriteNames.size() >= kMaxFavoriteNames) {
    ShowMessage(IDS_FAVORITES_FULL);
    return;
  }
  if (ShowAddFavoriteDialog() != IDOK) return;
  const std::string fileName = FreeFavoriteFileName(FavoriteFileBaseName(CurrentHost.HostName), FileExistsInProgramFolder);
  // The password is kept as the user chose: a connection from a favorite had it from that
  // file; one through the Connect dialog keeps it only with "Save" ticked there.
  const bool keepPassword = ConnectedFromFavorite == 1 || Options.SavePass == 1;
  // A name the file system refuses would leave an entry that connects nowhere.
  if (!WriteAddedFavorite(JoinLocalPath(ProgramFolder, fileName), CurrentHost, CurrentLocalFolder, CurrentRemoteFolder,
                          keepPassword)) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return;
  }
  FavoriteNames.push_back(fileName);
  BuildFavoritesMenu();
}

static bool ChooseFavoriteFile(std::string& path) {
  return ChooseFileToOpen(LoadResourceText(IDS_ARRANGE_FAVORITES_TITLE), LoadResourceText(IDS_FAVORITES_FILTER),
                          ProgramFolder, "", path);
}

void OpenFavorite() {
  if (JobRunning) return;
  std::string path;
  if (ChooseFavoriteFile(path)) ConnectFromFavorite(path.c_str());
}

// The dialog itself is the tool: its new folder, move, rename and delete arrange the
// files, and the menu shows them at its next rebuild.
void ArrangeFavorites() {
  std::string ignored;
  ChooseFavoriteFile(ignored);
}
