#include "text/path_text.h"

#include "text/sjis.h"

bool EndsInSeparator(std::string_view path) {
  if (path.empty()) return false;
  size_t last = FindLastSingleByteChar(path, "\\/");
  return last == path.size() - 1;
}

std::string JoinLocalPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!EndsInSeparator(path)) path += '\\';
  path += name;
  return path;
}
