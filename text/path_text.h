// Local (Windows) path texts in Shift-JIS: the trailing separator and joining a name to a
// folder. A drive root such as "C:\" is the only folder whose path ends in a separator;
// every other folder gets one put between it and a name.
#pragma once
#include <string>
#include <string_view>

// True when the path ends in a '\' or '/' that is a character of its own, not the second
// byte of a two-byte character ("C:\" yes; "C:\a\<table>", whose last byte is 0x5C, no).
bool EndsInSeparator(std::string_view path);

// The folder, a '\' unless the folder already ends in a separator, and the name.
std::string JoinLocalPath(std::string_view folder, std::string_view name);
