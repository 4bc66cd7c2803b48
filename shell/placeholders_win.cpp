#include "shell/placeholders_win.h"

#include "app/work_folder_win.h"
#include "text/path_text.h"

static bool Identity(const std::string& path, DWORD& high, DWORD& low, ULONGLONG& size) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  if (!known) return false;
  high = info.nFileIndexHigh;
  low = info.nFileIndexLow;
  size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return true;
}

bool MakePlaceholder(const std::string& folderPath, Placeholder& placeholder) {
  const std::string path = JoinLocalPath(folderPath, placeholder.name);
  // The name as the system reads it may differ from ours (a byte we take for the first of
  // two may be a character of its own): only a name that is to the system an entry of the
  // folder itself is made, and nothing that is there already is touched.
  if (!NamesEntryDirectlyIn(folderPath, placeholder.name)) return false;
  if (placeholder.folder) return CreateDirectoryA(path.c_str(), nullptr) != 0;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_ARCHIVE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  static const char kText[] = "DMY\r\n";
  DWORD written = 0;
  const bool whole = WriteFile(file, kText, 5, &written, nullptr) && written == 5;
  CloseHandle(file);
  ULONGLONG size = 0;
  return whole && Identity(path, placeholder.indexHigh, placeholder.indexLow, size);
}

bool StillPlaceholder(const std::string& folderPath, const Placeholder& placeholder) {
  if (placeholder.folder) return false;
  DWORD high = 0, low = 0;
  ULONGLONG size = 0;
  // A file that is gone is no placeholder, but it did not arrive either.
  if (!Identity(JoinLocalPath(folderPath, placeholder.name), high, low, size)) return true;
  return high == placeholder.indexHigh && low == placeholder.indexLow && size == 5;
}

std::vector<std::string> ArrivedNames(const std::string& folderPath, const std::vector<Placeholder>& placeholders) {
  std::vector<std::string> names;
  for (const Placeholder& placeholder : placeholders)
    if (!StillPlaceholder(folderPath, placeholder)) names.push_back(placeholder.name);
  return names;
}
