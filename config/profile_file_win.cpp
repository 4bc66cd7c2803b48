#include "config/profile_file_win.h"

#include <windows.h>

#include <vector>

#include "config/options.h"
#include "config/profile_value.h"

std::string ReadProfileText(const std::string& path, const char* section, const char* key, const char* defaultValue,
                            size_t capacity) {
  // Read with room to spare, then cut to the field's capacity ourselves.
  std::vector<char> buffer(capacity + 2);
  GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
  return CutToCapacity(buffer.data(), capacity);
}

int ReadProfileInt(const std::string& path, const char* section, const char* key, int defaultValue) {
  static const char kMissing[] = "\x01missing";
  char buffer[64];
  GetPrivateProfileStringA(section, key, kMissing, buffer, sizeof buffer, path.c_str());
  if (std::string(buffer) == kMissing) return defaultValue;
  return ParseProfileInt(buffer);
}

bool WriteProfileText(const std::string& path, const char* section, const char* key, const std::string& value) {
  return WritePrivateProfileStringA(section, key, QuoteForProfile(value).c_str(), path.c_str()) != FALSE;
}
