#include "archive/archive_names.h"

#include "text/path_text.h"
#include "text/sjis.h"

std::string ExtractedCopyName(const std::string& member) {
  size_t start = 0;
  for (size_t i = 0; i < member.size();) {
    const unsigned char c = static_cast<unsigned char>(member[i]);
    if (c == '/' || c == '\\' || c == 0xFF) {
      start = ++i;
      continue;
    }
    i += CheckedCharWidthAt(member, i);
  }
  const std::string name = member.substr(start);
  if (name.empty() || name == "." || name == ".." || FindSingleByteChar(name, ':') != std::string::npos) return "";
  return name;
}

std::string MemberUploadPath(const std::string& member) {
  std::string path, part;
  const auto takePart = [&]() {
    if (part.empty() || part == "." || part == ".." || FindSingleByteChar(part, ':') != std::string::npos) return false;
    path += (path.empty() ? "" : "/") + part;
    part.clear();
    return true;
  };
  for (size_t i = 0; i < member.size();) {
    const unsigned char c = static_cast<unsigned char>(member[i]);
    if (c == '/' || c == '\\' || c == 0xFF) {
      if (!takePart()) return "";
      ++i;
      continue;
    }
    const size_t width = CheckedCharWidthAt(member, i);
    part.append(member, i, width);
    i += width;
  }
  if (!part.empty() && !takePart()) return "";
  return path;
}

std::string NameListText(const std::vector<std::string>& names) {
  constexpr size_t kShown = 20;
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i == kShown) return text + "\r\n...";
    text += "\r\n" + names[i];
  }
  return text;
}

std::string TestExtractFolderName(const std::string& archivePath) {
  const size_t cut = FindLastSingleByteChar(archivePath, "\\/:");
  std::string name = cut == std::string::npos ? archivePath : archivePath.substr(cut + 1);
  const size_t dot = FindLastSingleByteChar(name, ".");
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

bool HasExtensionNoCase(const std::string& name, const std::string& extension) {
  if (name.size() < extension.size()) return false;
  // The extension starts with '.', which is never the second byte of a character, so the
  // bytes after it are characters of their own.
  const size_t at = name.size() - extension.size();
  for (size_t i = 0; i < extension.size(); ++i) {
    char a = name[at + i], b = extension[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return IsSingleByteChar(name.c_str(), at);
}

std::string LastPathPart(const std::string& path) {
  const size_t cut = FindLastSingleByteChar(path, "\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::vector<std::string> ChosenFiles(const char* answer, size_t size) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < size && answer[i]) {
    size_t end = i;
    while (end < size && answer[end]) ++end;
    parts.emplace_back(answer + i, end - i);
    i = end + 1;
  }
  if (parts.size() <= 1) return parts;
  std::vector<std::string> files;
  for (size_t n = 1; n < parts.size(); ++n) files.push_back(JoinLocalPath(parts[0], parts[n]));
  return files;
}
