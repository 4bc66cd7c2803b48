// Placeholders in the work folder: what a drag or a clipboard copy offers for an entry that
// has no file yet. A placeholder file holds "DMY" and CR LF; the real file replaces it (the
// download and the archive library both write beside a file and then move over it), so a
// placeholder still in its place tells that its entry never arrived.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct Placeholder {
  std::string name;  // in the work folder
  bool folder = false;
  DWORD indexHigh = 0, indexLow = 0;  // the placeholder file's identity on its volume
};

// Made in a fresh folder of the operation's own. False when it cannot be made: the name
// would reach outside the folder, or something of the name is there already.
bool MakePlaceholder(const std::string& folderPath, Placeholder& placeholder);

// True when the file is still the placeholder that was made, or is gone (never for a folder).
bool StillPlaceholder(const std::string& folderPath, const Placeholder& placeholder);

// The names of the placeholders that were replaced (and of every folder).
std::vector<std::string> ArrivedNames(const std::string& folderPath, const std::vector<Placeholder>& placeholders);
