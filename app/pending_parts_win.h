// Points where parts of the program that are still to come plug into start-up and the main
// window. Each does nothing and answers success until its part replaces it; when a part is
// built, its function moves out of this file into the part's own file.
#pragma once
#include <windows.h>
#include <shellapi.h>

int ConnectFromFavorite(const char* path);        // connects from a favorite file
void ScanFavorites(HMENU menu);                   // the favorite entries of the Favorites menu
