#include "config/favorite_file_win.h"

#include <windows.h>

void WriteFavoriteEntries(const ProfileEntries& entries) {
  if (CurrentFavoritePath.empty()) return;
  for (const auto& entry : entries)
    WritePrivateProfileStringA("Vako", entry.first.c_str(), entry.second.c_str(), CurrentFavoritePath.c_str());
}
