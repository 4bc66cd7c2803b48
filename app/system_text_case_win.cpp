#include "app/system_text_case_win.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

int Compare(const char* a, const char* b) { return lstrcmpiA(a, b); }

void Lower(std::string& text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
}

void Upper(std::string& text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
}

int CompareBytes(const char* a, const char* b) { return std::strcmp(a, b); }
void Unchanged(std::string&) {}

}  // namespace

const TextCase& SystemTextCase() {
  static const TextCase tc{Compare, Lower, Upper};
  return tc;
}

const TextCase& SortKeyOrder() {
  static const TextCase tc{CompareBytes, Unchanged, Unchanged};
  return tc;
}

std::string SystemSortKey(const std::string& text) {
  // The same locale and flags as lstrcmpiA, so the keys order texts as it does.
  const LCID locale = GetThreadLocale();
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  // Most keys fit a buffer on the stack; only a long text asks for its size first.
  char small[512];
  std::vector<char> large;
  char* key = small;
  int size = LCMapStringA(locale, flags, text.c_str(), -1, small, static_cast<int>(sizeof small));
  if (size <= 0) {
    size = LCMapStringA(locale, flags, text.c_str(), -1, nullptr, 0);
    if (size <= 0) return "";
    large.resize(static_cast<size_t>(size));
    key = large.data();
    size = LCMapStringA(locale, flags, text.c_str(), -1, key, size);
  }
  // Hex digits keep the order of the key's bytes and hold no zero byte.
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(static_cast<size_t>(size) * 2);
  for (int i = 0; i < size; ++i) {
    unsigned char b = static_cast<unsigned char>(key[i]);
    if (b == 0 && i == size - 1) break;  // the key's own end
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}
