// The UNLHA32 page: the test-extract folder, the archive options and the library's own
// settings dialog.
#include "app/load_plugin_win.h"
#include "config/options.h"
#include "config/options_pages_win.h"
#include "resources/resource_ids.h"

namespace {

// The library's settings dialog, owned by the page; nothing when the library or its
// entry is missing.
void ShowLibrarySettings(HWND page) {
  HMODULE library = LoadPluginLibrary("unlha32.dll");
  if (!library) return;
  using ConfigDialog = BOOL(WINAPI*)(HWND, LPSTR, int);
  auto config = reinterpret_cast<ConfigDialog>(reinterpret_cast<void*>(GetProcAddress(library, "UnlhaConfigDialog")));
  if (config) {
    char options[1024] = "";  // the library may hand back its option text here
    config(page, options, 1);
  }
  FreeLibrary(library);
}

void FillUnlha(HWND page) {
  ShowText(page, IDC_TEST_FOLDER, Options.TestFolder, OptionCapacity("TestFolder"));
  ShowCheck(page, IDC_TEST_OPEN, Options.TestOpen == 1);
  ShowCheck(page, IDC_LZH_CAPITALS, Options.LZHCap == 1);
  ShowCheck(page, IDC_LZH_SYSTEM_FILES, Options.LZHSys == 1);
}

void ApplyUnlha(HWND page) {
  Options.TestFolder = ReadText(page, IDC_TEST_FOLDER, OptionCapacity("TestFolder"));
  Options.TestOpen = ReadCheck(page, IDC_TEST_OPEN) ? 1 : 0;
  Options.LZHCap = ReadCheck(page, IDC_LZH_CAPITALS) ? 1 : 0;
  Options.LZHSys = ReadCheck(page, IDC_LZH_SYSTEM_FILES) ? 1 : 0;
}

bool UnlhaCommand(HWND page, int control) {
  switch (control) {
    case IDC_BROWSE_TEST_FOLDER:
      BrowseIntoField(page, IDC_TEST_FOLDER, OptionCapacity("TestFolder"));
      return true;
    case IDC_UNLHA_SETTINGS:
      ShowLibrarySettings(page);
      return true;
  }
  return false;
}

}  // namespace

SheetPage OptionsUnlhaPage() { return {IDD_UNLHA32, FillUnlha, ApplyUnlha, UnlhaCommand}; }
