#include "app/string_table_win.h"

#include <windows.h>

#include "app/app_state_win.h"

std::string LoadResourceText(int id) {
  char text[256];
  int n = LoadStringA(InstanceHandle ? InstanceHandle : GetModuleHandleA(nullptr), static_cast<UINT>(id), text,
                      sizeof text);
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}
