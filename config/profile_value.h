// How a text value is written to an INI file so that reading it returns it unchanged.
#pragma once
#include <string>

// The profile functions drop blanks around a value and one pair of enclosing quotes.
// A value that would lose something that way is written inside quotes; every other value
// is written as it is, so files stay as earlier versions wrote them.
std::string QuoteForProfile(const std::string& value);

// An integer value as the settings file holds it: an optional sign, then decimal digits;
// anything after the digits is ignored and a value without digits reads as 0.
int ParseProfileInt(const std::string& text);
