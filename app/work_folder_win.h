// The per-run work folder under the system temp folder; it holds the protocol log and
// every temporary file of the run, and is deleted at exit. Whatever carries a name from a
// server or an archive goes into a sub-folder of its own, one per operation, so that no
// such name can meet the log, another operation's files or, in the fallback, the temp
// folder's other entries.
#pragma once
#include <string>

// Creates the first free "vakotmp%d" (0-999) inside base (which ends in a backslash) and
// answers its path with a trailing backslash. A folder that already exists is never reused.
// When all 1,000 exist, answers base itself and sets own to false.
std::string CreateWorkFolderIn(const std::string& base, bool& own);

// Deletes a folder with everything in it (through the shell, silently).
void DeleteWorkFolder(const std::string& path);

// True when the path, as the system resolves it (".." parts, separators hidden in what we
// read as a two-byte character), names an entry strictly inside the folder.
bool PathLiesInside(const std::string& folder, const std::string& path);

// True when the name, joined to the folder, is to the system an entry directly in it by that
// very name: no separator, ".." or drive of its own, whatever bytes we take for two-byte
// characters.
bool NamesEntryDirectlyIn(const std::string& folder, const std::string& name);

// A fresh, empty sub-folder of WorkFolder for one operation, with a trailing backslash;
// "" when none can be made.
std::string NewWorkSubFolder();

// Removes a sub-folder that NewWorkSubFolder made, with everything in it; any other path,
// or one reaching outside WorkFolder, is left alone.
void RemoveWorkSubFolder(const std::string& subFolder);

// The sub-folder of WorkFolder that a path lies in ("" when none), and its removal.
std::string WorkSubFolderOf(const std::string& path);

// A sub-folder for one scope: made by NewWorkSubFolder, removed at the end.
class WorkSubFolderScope {
 public:
  WorkSubFolderScope() : path_(NewWorkSubFolder()) {}
  ~WorkSubFolderScope() { RemoveWorkSubFolder(path_); }
  WorkSubFolderScope(const WorkSubFolderScope&) = delete;
  WorkSubFolderScope& operator=(const WorkSubFolderScope&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// At exit, when the work folder is the temp folder itself: every sub-folder made goes.
void RemoveAllWorkSubFolders();
