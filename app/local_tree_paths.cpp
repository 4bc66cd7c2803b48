#include "app/local_tree_paths.h"

#include "app/sjis.h"

std::vector<std::string> SplitLocalPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && !(path[i] == '\\' && IsSingleByteChar(path.c_str(), i))) continue;
    if (i > start) parts.push_back(path.substr(start, i - start));
    start = i + 1;
  }
  return parts;
}

bool IsDriveComponent(const std::string& component) {
  return !component.empty() && component.back() == ':' &&
         IsSingleByteChar(component.c_str(), component.size() - 1);
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
  for (size_t i = path.size(); i-- > 0;) {
    if ((path[i] == '\\' || path[i] == ':') && IsSingleByteChar(path.c_str(), i)) {
      return path.substr(0, i + 1);
    }
  }
  return path;
}
