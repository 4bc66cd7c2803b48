// The stored form of a password: never kept as typed.
#pragma once
#include <string>

// Reverses the characters and adds 1 to each byte. A byte 255 would become 0 and end the
// text early, so it is stored as 1 instead: no typed password holds a 0 byte, so a stored 1
// never occurred before and old files read back the same.
std::string ScramblePassword(const std::string& text);
std::string UnscramblePassword(const std::string& text);

// The proxy password is stored scrambled too, under a key of its own: earlier versions kept
// it as typed under "ProxyPass", and no text tells a scrambled value from a typed one. A file
// that holds this key is read from it; any other from "ProxyPass", as typed. Writers write
// this key and leave "ProxyPass" empty.
constexpr char kScrambledProxyPassKey[] = "ScrambledProxyPass";
