#include "config/favorite_names.h"

#include <cstring>
#include <utility>

#include "text/sjis.h"

// Replaces each single-byte character for which `replace` holds by '_'.
template <typename Predicate>
static std::string ReplaceSingleByteChars(const std::string& name, Predicate replace) {
  std::string out = name;
  for (size_t i = 0; i < out.size(); i += CharWidthAt(out, i)) {
    if (CharWidthAt(out, i) == 2) continue;
    if (replace(static_cast<unsigned char>(out[i]))) out[i] = '_';
  }
  return out;
}

static bool IsOneOfTheSix(unsigned char c) { return c != 0 && std::strchr("\\/:*?|", c) != nullptr; }

std::string FavoriteFileBaseName(const std::string& name) { return ReplaceSingleByteChars(name, IsOneOfTheSix); }

static bool IsDeviceName(const std::string& name) {
  // The system takes these for devices whatever follows a dot.
  std::string stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices)
    if (stem == device) return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '0' && stem[3] <= '9';
}

std::string ImportedFavoriteBaseName(const std::string& name) {
  // A zero byte is no character, not even behind a lead byte: it would end the file name
  // early, and every numbered name would then be the same.
  std::string named = name;
  for (char& c : named)
    if (c == '\0') c = '_';
  std::string out = ReplaceSingleByteChars(named, [](unsigned char c) {
    return IsOneOfTheSix(c) || c < 0x20 || c == 0x7F || c == '"' || c == '<' || c == '>';
  });
  if (out.find_first_not_of(". ") == std::string::npos) return "";
  if (IsDeviceName(out)) out.insert(0, 1, '_');
  return out;
}

std::string FreeFavoriteFileName(const std::string& baseName,
                                 const std::function<bool(const std::string&)>& exists) {
  std::string candidate = baseName + ".BOK";
  for (unsigned long n = 0; exists(candidate); ++n) candidate = baseName + std::to_string(n) + ".BOK";
  return candidate;
}

std::string FavoriteDisplayName(const std::string& fileName) {
  return fileName.size() <= 4 ? std::string() : fileName.substr(0, fileName.size() - 4);
}

bool IsFavoriteFileName(const std::string& fileName) {
  if (fileName.size() < 4) return false;
  const char* tail = fileName.c_str() + fileName.size() - 4;
  return tail[0] == '.' && (tail[1] | 0x20) == 'b' && (tail[2] | 0x20) == 'o' && (tail[3] | 0x20) == 'k';
}

void SortFavoriteNames(std::vector<std::string>& names, const TextCase& textCase) {
  for (size_t i = 0; i < names.size(); ++i)
    for (size_t j = i + 1; j < names.size(); ++j)
      if (textCase.compare(names[i].c_str(), names[j].c_str()) > 0) std::swap(names[i], names[j]);
}
