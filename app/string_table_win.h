// Texts of the string table in the user's language and code page.
#pragma once
#include <string>

// The text of string-table entry id, at most 255 bytes (the size every caller has room
// for); empty when there is no such entry.
std::string LoadResourceText(int id);
