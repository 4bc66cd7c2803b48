// Keys of an INI-format file other than vako.ini: a favorite file or another program's
// host list.
#pragma once
#include <string>

// The key's text, cut to the capacity (which counts the terminating zero, as the file's
// fields do); the default when the key is missing.
std::string ReadProfileText(const std::string& path, const char* section, const char* key, const char* defaultValue,
                            size_t capacity);
// The key as a signed decimal integer; the default when the key is missing.
int ReadProfileInt(const std::string& path, const char* section, const char* key, int defaultValue);
// Writes the text so that reading it gives it back unchanged; false when the file could
// not be written.
bool WriteProfileText(const std::string& path, const char* section, const char* key, const std::string& value);
