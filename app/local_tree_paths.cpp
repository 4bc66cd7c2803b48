#include "app/local_tree_paths.h"

#include "text/sjis.h"

std::vector<std::string> SplitLocalPath(const std::string& path) {
  return SplitAtSingleByteChar(path, '\\', false);
}

bool IsDriveComponent(const std::string& component) {
  return !component.empty() && FindLastSingleByteChar(component, ":") == component.size() - 1;
}

std::string LocalPathOfTexts(const std::vector<std::string>& textsFromDrive) {
  std::string path;
  for (size_t i = 0; i < textsFromDrive.size(); ++i) {
    if (i > 0) path += '\\';
    path += textsFromDrive[i];
  }
  return path;
}

std::string FolderOfPath(const std::string& path) {
  const size_t cut = FindLastSingleByteChar(path, "\\:");
  return cut == std::string::npos ? path : path.substr(0, cut + 1);
}
