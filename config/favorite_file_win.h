// Writing keys into the favorite file that the host-settings sheet edits.
#pragma once
#include "config/host_sheet_keys.h"

// Writes each key into section Vako of the file at CurrentFavoritePath. Nothing is written
// while no favorite file is named: the profile functions would pick a file of the system's.
void WriteFavoriteEntries(const ProfileEntries& entries);
