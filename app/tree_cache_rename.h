// A remote folder renamed in the list: the tree cache lines of the folders below it
// follow the new name, so the tree shows no folder that no longer exists.
#pragma once
#include <string>
#include <vector>

// The lines with every line below oldLine ("pub/old/x/") rewritten under newLine
// ("pub/new/x/"); lines already present are not doubled. oldLine itself is left alone.
std::vector<std::string> RenameTreeCacheDescendants(const std::vector<std::string>& lines,
                                                    const std::string& oldLine, const std::string& newLine);

// The same on a tree cache file, rewritten only when something changed. 0 when the file
// cannot be read or written.
int RenameTreeCacheDescendantsInFile(const std::string& path, const std::string& oldLine,
                                     const std::string& newLine);
