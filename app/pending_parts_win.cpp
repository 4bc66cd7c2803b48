#include "app/pending_parts_win.h"

int ConnectFromFavorite(const char*) { return 1; }
void ScanFavorites(HMENU) {}
