// The keys of one INI section as the profile functions read them, for the sheet tests.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

// Key -> value as GetPrivateProfileStringA returns it (quotes around a value removed).
inline std::map<std::string, std::string> ProfileKeys(const std::string& path, const char* section = "Vako") {
  std::map<std::string, std::string> keys;
  std::vector<char> names(65536);
  DWORD n = GetPrivateProfileStringA(section, nullptr, "", names.data(), static_cast<DWORD>(names.size()), path.c_str());
  for (DWORD i = 0; i < n;) {
    std::string key(&names[i]);
    std::vector<char> value(4096);
    GetPrivateProfileStringA(section, key.c_str(), "", value.data(), static_cast<DWORD>(value.size()), path.c_str());
    keys[key] = value.data();
    i += static_cast<DWORD>(key.size()) + 1;
  }
  return keys;
}
