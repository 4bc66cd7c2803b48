#include <windows.h>

#include "plugins/unlha32/unlha32_texts.h"

std::wstring LibraryText(int id) {
  // The library's own module, not the program that loaded it.
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&LibraryText), &self);
  wchar_t text[512];
  const int n = LoadStringW(self, static_cast<UINT>(id), text, sizeof text / sizeof text[0]);
  return std::wstring(text, n > 0 ? static_cast<size_t>(n) : 0);
}
