#include "ftp/text_file_win.h"

#include "app/message_boxes_win.h"
#include "resources/resource_ids.h"

namespace {
struct FileHandle {
  HANDLE h;
  explicit FileHandle(HANDLE handle) : h(handle) {}
  ~FileHandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
};
}  // namespace

int WriteTextFile(const std::string& path, const std::string& text, int mode) {
  if (mode == 0) DeleteFileA(path.c_str());
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              mode == 0 ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.h == INVALID_HANDLE_VALUE) {
    ShowMessage(IDS_FAILED_WRITE_FILE);
    return 0;
  }
  if (mode != 0) SetFilePointer(file.h, 0, nullptr, FILE_END);
  std::string out = text;
  if (mode != 2) out += "\r\n";
  DWORD written = 0;
  if (!out.empty() && !WriteFile(file.h, out.data(), static_cast<DWORD>(out.size()), &written, nullptr)) return 0;
  return 1;
}

int ReadTextLine(std::string& buffer, size_t maximum, HANDLE file) {
  buffer.clear();
  for (;;) {
    char byte;
    DWORD got = 0;
    if (!ReadFile(file, &byte, 1, &got, nullptr)) return 0;
    if (got == 0) return buffer.empty() ? 0 : 1;  // a last line without its line end still counts
    if (byte == '\n') {
      if (!buffer.empty() && buffer.back() == '\r') buffer.pop_back();
      return 1;
    }
    buffer.push_back(byte);
    if (buffer.size() >= maximum) return 0;
  }
}
