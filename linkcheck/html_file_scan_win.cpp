#include "linkcheck/html_file_scan_win.h"

#include <commctrl.h>

#include <vector>

#include "app/string_table_win.h"
#include "linkcheck/link_rows.h"
#include "linkcheck/link_scanner.h"
#include "resources/resource_ids.h"

namespace {

struct FileHandle {
  HANDLE handle;
  explicit FileHandle(HANDLE h) : handle(h) {}
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
};

void SetSubItemText(HWND list, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Inserts the row at `position`; its sort key is the number of rows before it, unique
// because the list never loses rows.
void InsertLinkRow(HWND list, int position, const LinkRowTexts& row) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = position;
  item.pszText = const_cast<char*>(row.link.c_str());
  item.lParam = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
  int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return;
  SetSubItemText(list, index, 1, row.tag);
  SetSubItemText(list, index, 2, row.fileName);
  SetSubItemText(list, index, 3, row.availability);
}

}  // namespace

bool FileExists(const std::string& path) {
  // A text with a zero byte names no file; wildcards must not find some other file.
  if (path.find('\0') != std::string::npos) return false;
  if (path.find_first_of("*?") != std::string::npos) return false;
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int ScanHtmlFile(const std::string& path, HWND list) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.handle == INVALID_HANDLE_VALUE) return 1;
  const std::string present = LoadResourceText(IDS_LINK_OK), missing = LoadResourceText(IDS_LINK_NG);
  LinkScanner scanner;
  std::vector<char> block(65536);
  int position = 0;
  for (;;) {
    DWORD got = 0;
    // A read error ends the file quietly; the rows found so far stay.
    if (!ReadFile(file.handle, block.data(), static_cast<DWORD>(block.size()), &got, nullptr) || got == 0) break;
    scanner.Feed(std::string_view(block.data(), got));
    for (const FoundLink& found : scanner.TakeLinks())
      InsertLinkRow(list, position++, MakeLinkRow(found, path, FileExists, present, missing));
  }
  return 0;
}

void InsertLinkColumns(HWND list) {
  const int headings[4] = {IDS_COLUMN_LINK, IDS_COLUMN_TAG, IDS_COLUMN_FILE_NAME, IDS_COLUMN_AVAILABILITY};
  const int widths[4] = {300, 32, 88, 42};
  for (int i = 0; i < 4; ++i) {
    std::string heading = LoadResourceText(headings[i]);
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = widths[i];
    column.pszText = const_cast<char*>(heading.c_str());
    column.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
}
