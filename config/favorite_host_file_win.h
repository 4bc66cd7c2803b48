// A favorite file: one host profile in section "Vako" of an INI-format file.
#pragma once
#include <string>

#include "config/host_list_import.h"
#include "config/host_profile.h"

// Fills the profile from the file, key by key; a missing key (or file) gives its default.
// The passwords are unscrambled (an older file's plain proxy password is read as it is), a
// port of 0 means 21 (990 for implicit TLS), a Security other than 0-2 means none, and a file without InitialRemoteFolder
// falls back on the older key InitialRemortFolder, then on "./".
void ReadFavoriteFile(const std::string& path, HostProfile& host);

// Add Favorites: the open connection's address, user, password (scrambled; empty unless
// keepPassword), the two current folders, the time lag, Pasv when it is set,
// NameEncoding when it is not automatic, Security with iPort when it is not none. False when the file could not be written.
bool WriteAddedFavorite(const std::string& path, const HostProfile& host, const std::string& localFolder,
                        const std::string& remoteFolder, bool keepPassword);

// An imported host; keys already in the file and not written here stay. False when the
// file could not be written.
bool WriteImportedFavorite(const std::string& path, const ImportedHost& host);
