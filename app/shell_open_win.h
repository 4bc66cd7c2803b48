// Opening a file, a program or a web address with its associated program.
#pragma once
#include <string>

// The shell's "open", owned by the main window, shown normally, in the given working
// folder (none when empty). 1 on success.
int ShellOpen(const std::string& file, const std::string& folder);
