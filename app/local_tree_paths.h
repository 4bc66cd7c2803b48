// Local path texts as the local folder tree and its menus take them apart and join them.
#pragma once
#include <string>
#include <vector>

// The components of a local path split at backslashes that are characters of their own
// ("C:\Docs\a" -> C:, Docs, a). Empty components are dropped.
std::vector<std::string> SplitLocalPath(const std::string& path);

// True when a component ends in a colon of its own: a drive item such as "C:".
bool IsDriveComponent(const std::string& component);

// The path of a tree item from the texts of the item and its ancestors, drive first:
// {"C:"} -> "C:", {"C:", "a", "b"} -> "C:\a\b".
std::string LocalPathOfTexts(const std::vector<std::string>& textsFromDrive);

// The folder part of a path: cut after its last '\' or ':' of its own, the separator
// kept; a path without one is returned whole.
std::string FolderOfPath(const std::string& path);
