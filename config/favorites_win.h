// Favorites: one .BOK file per saved host in the program folder and its sub-folders,
// listed in the Favorites menu.
#pragma once
#include <string>
#include <vector>

// File names (with ".BOK") found directly in the program folder, at most 100.
extern std::vector<std::string> FavoriteNames;

void ScanFavorites();        // fills FavoriteNames at start and builds the menu
void BuildFavoritesMenu();   // sorts FavoriteNames and rebuilds the menu's favorite entries
void AddFavorite();          // Add Favorites (40053)
void OpenFavorite();         // Open Favorite (40102)
void ArrangeFavorites();     // Arrange Favorites (40051)

// Reads the favorite file at path into the current host profile, shows the host-settings
// sheet and starts connecting (the outcome comes later, see StartConnectAttempt). Answers 1
// when the attempt started.
int ConnectFromFavorite(const char* path);

// A favorite entry of the menu (20000 <= id < 20100) chosen: connects from its file.
void ConnectFromFavoriteEntry(int id);
