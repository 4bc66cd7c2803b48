#include "config/open_file_dialog_win.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "app/app_state_win.h"
#include "config/open_dialog_filter.h"

bool ChooseFileToOpen(const std::string& title, const std::string& filterText, const std::string& startFolder,
                      const std::string& presetName, std::string& path) {
  const std::string filter = OpenDialogFilter(filterText);
  std::vector<char> file(MAX_PATH, '\0');
  presetName.copy(file.data(), file.size() - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = MainWindow;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NONETWORKBUTTON | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&ofn)) return false;
  path = file.data();
  return true;
}
