// Splitting the program's command line into favorite-file paths.
#pragma once
#include <string>
#include <vector>

// Arguments are separated by blanks and control characters; a quoted argument keeps its
// blanks. Shift-JIS aware: a trail byte that looks like a quote or a blank is not one.
// An argument keeps at most 511 bytes.
std::vector<std::string> SplitCommandLine(const char* text);
