// The file-type filter of an Open dialog from a string-table text such as
// "Vako FTP Favorites|*.BOK|": each '|' that is a character of its own becomes the
// separator the dialog expects, never the second byte of a two-byte character.
#pragma once
#include <string>

// The filter with its separators and the final empty entry (the text ends in two zeros).
std::string OpenDialogFilter(const std::string& text);
