// The system's own case rules of the user's code page (lstrcmpiA, CharLowerBuffA,
// CharUpperBuffA), as the program hands them to the platform-neutral rules.
#pragma once
#include <string>

#include "app/text_case.h"

const TextCase& SystemTextCase();

// A text whose plain byte order is the system's case-insensitive order of the texts it
// was made from (the locale's sort key, in hex digits). Sorting many rows compares keys
// made once per text instead of asking the system for every comparison.
std::string SystemSortKey(const std::string& text);

// Byte order of such keys (also of any plain texts).
const TextCase& SortKeyOrder();
