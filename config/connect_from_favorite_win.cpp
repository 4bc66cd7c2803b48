#include <windows.h>

#include "app/app_state_win.h"
#include "app/connect_attempt_win.h"
#include "app/local_listing_win.h"
#include "app/main_window_win.h"
#include "app/tree_cache.h"
#include "config/favorite_host_file_win.h"
#include "config/favorites_win.h"
#include "config/host_profile.h"
#include "config/host_settings_sheet_win.h"
#include "app/remote_view_fill_win.h"
#include "ftp/login_win.h"
#include "resources/resource_ids.h"

int ConnectFromFavorite(const char* path) {
  if (JobRunning) return 0;
  const HostProfile before = CurrentHost;
  const std::string favoriteBefore = CurrentFavoritePath;
  CurrentFavoritePath = path;
  const std::string openName = CurrentHost.HostName;
  ReadFavoriteFile(path, CurrentHost);

  if (ShowHostSettingsSheet() != IDOK) {
    // An open connection keeps its own profile, so its tree cache is kept under its name.
    CurrentHost = before;
    CurrentFavoritePath = favoriteBefore;
    return 0;
  }
  // The name as the sheet left it (saved to the file when edited) names this connection
  // and its tree cache at once, as it will the next connection from this favorite.
  const std::string favoriteName = CurrentHost.HostName;
  CurrentHost.HostName = openName;
  SendMessageA(MainWindow, WM_COMMAND, IDM_DISCONNECT, 0);
  CurrentHost.HostName = favoriteName;

  const std::string favoritePath = path;
  const bool started = StartConnectAttempt(CurrentHost.InitialRemoteFolder, CurrentHost.InitialLocalFolder, [favoritePath] {
    ConnectedFromFavorite = 1;
    ConnectedFavoritePath = favoritePath;
    CopyTreeCacheFile(KeptTreeCachePath(ProgramFolder, CurrentHost.HostName, ConnectedFavoritePath), TreeTempPath);
    RefreshRemoteList(RemoteList, 0);
    RefreshLocalList(LocalList);
  });
  return started ? 1 : 0;
}
