// Names of favorite files: what may stand in a file name, the next free name, the text a
// menu entry shows, and the order of the Favorites menu.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/text_case.h"

// The most favorite files listed from the program folder, and the most names it may hold.
constexpr size_t kMaxFavoriteNames = 100;

// The name typed for Add Favorites with each of \ / : * ? | turned into '_'. Two-byte
// characters are kept whole, also when their second byte looks like one of the six.
std::string FavoriteFileBaseName(const std::string& name);

// A name that comes from another program's host list: besides the six above, the other
// characters a file name cannot hold (" < > and control characters) become '_', and a
// device name (CON, NUL, COM1...) gets a '_' in front, so the favorite is always written as
// a file of its own in the program folder. Empty when nothing of a file name is left
// (only dots and blanks, or nothing at all).
std::string ImportedFavoriteBaseName(const std::string& name);

// The first free file name for a favorite: "x.BOK", then "x0.BOK", "x1.BOK" and so on.
// `exists` answers whether a file name is taken.
std::string FreeFavoriteFileName(const std::string& baseName,
                                 const std::function<bool(const std::string&)>& exists);

// A favorite's menu text: its file name without the last four characters (".BOK").
std::string FavoriteDisplayName(const std::string& fileName);

// True for a file name ending in ".BOK", letter case not counting.
bool IsFavoriteFileName(const std::string& fileName);

// Sorts ascending, letter case not counting, as an exchange sort: each position against
// every later one, the two swapped when the earlier compares greater.
void SortFavoriteNames(std::vector<std::string>& names, const TextCase& textCase);
