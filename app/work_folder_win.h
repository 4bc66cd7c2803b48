// The per-run work folder under the system temp folder; it holds the protocol log and
// every temporary file of the run, and is deleted at exit.
#pragma once
#include <string>

// Creates the first free "vakotmp%d" (0-999) inside base (which ends in a backslash) and
// answers its path with a trailing backslash. A folder that already exists is never reused.
// When all 1,000 exist, answers base itself and sets own to false.
std::string CreateWorkFolderIn(const std::string& base, bool& own);

// Deletes a folder with everything in it (through the shell, silently).
void DeleteWorkFolder(const std::string& path);
