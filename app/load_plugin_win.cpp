#include "app/load_plugin_win.h"

#include <string>

#include "app/app_state_win.h"

HMODULE LoadPluginLibrary(const char* name) {
  // A full path makes the loader skip its search order; the altered search path lets the
  // library's own dependencies come from its folder as well.
  std::string path = ProgramFolder + name;
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
