// What the property-sheet pages make of typed numbers and names, without a window system.
#pragma once
#include <string>

// A number field: optional blanks, then (signed fields only) an optional sign, then
// decimal digits, then optional blanks. Text that is not such a number, or does not fit an
// int, reads as 0.
int ParseSignedField(const std::string& text);
int ParseUnsignedField(const std::string& text);

// The Options Transfer page keeps the time lag within a day's 359 minutes either way.
int ClampOptionsTimeLag(int minutes);

