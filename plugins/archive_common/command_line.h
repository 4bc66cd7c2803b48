// Command lines handed to the archive libraries, split into words.
#pragma once
#include <functional>
#include <string>
#include <vector>

// Splits LINE into words. Blanks, tabs, CR and LF separate words; a double quote starts or ends
// a quoted stretch in which blanks are kept, and the quotes themselves are dropped ("" gives an
// empty word). A backslash is an ordinary character, also before a quote, so a folder written
// as "C:\dir\" keeps its final backslash.
std::vector<std::string> SplitCommandLine(const std::string& line);

// Reads a whole file into TEXT; false when it cannot be read.
using ReadWholeFile = std::function<bool(const std::string& path, std::string& text)>;

// Replaces every word "@path" by the words of that response file, split line by line as above,
// in place. Words read from a response file are not expanded again. False, with ERROR naming the
// file, when a response file cannot be read; WORDS is then unchanged.
bool ExpandResponseFiles(std::vector<std::string>& words, const ReadWholeFile& read,
                         std::string& error);
