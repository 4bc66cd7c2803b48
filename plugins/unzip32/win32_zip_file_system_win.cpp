#include "plugins/unzip32/win32_zip_file_system_win.h"

#include <windows.h>

#include <utility>

#include "plugins/archive_common/member_path.h"

namespace {

class FileByteSource : public ZipByteSource {
 public:
  FileByteSource(HANDLE file, uint64_t size) : file_(file), size_(size) {}
  ~FileByteSource() override { CloseHandle(file_); }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset) return false;
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_, to, nullptr, FILE_BEGIN)) return false;
    char* p = static_cast<char*>(buffer);
    while (size > 0) {
      const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      DWORD got = 0;
      if (!ReadFile(file_, p, want, &got, nullptr) || got == 0) return false;
      p += got;
      size -= got;
    }
    return true;
  }

 private:
  HANDLE file_;
  uint64_t size_;
};

// The UTC stamp when the archive has one, else the MS-DOS date and time as local time.
bool EntryFileTime(const ZipEntry& entry, FILETIME& time) {
  if (entry.has_unix_time) {
    const int64_t ticks = (entry.unix_time + 11644473600LL) * 10000000LL;
    if (ticks < 0) return false;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
    return true;
  }
  FILETIME local;
  return DosDateTimeToFileTime(entry.dos_date, entry.dos_time, &local) &&
         LocalFileTimeToFileTime(&local, &time);
}

class Win32OutputFile : public ZipOutputFile {
 public:
  Win32OutputFile(HANDLE file, std::string temp, std::string target)
      : file_(file), temp_(std::move(temp)), target_(std::move(target)) {}
  ~Win32OutputFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!committed_) DeleteFileA(temp_.c_str());
  }
  bool Write(const void* data, size_t size) override {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      DWORD done = 0;
      if (!WriteFile(file_, p, want, &done, nullptr) || done == 0) return false;
      p += done;
      size -= done;
    }
    return true;
  }
  bool Commit(const ZipEntry& entry) override {
    FILETIME time;
    if (EntryFileTime(entry, time)) SetFileTime(file_, nullptr, nullptr, &time);
    const HANDLE file = file_;
    file_ = INVALID_HANDLE_VALUE;
    // One step: the old file stays until the new one takes its place.
    if (!CloseHandle(file) ||
        !MoveFileExA(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING))
      return false;
    committed_ = true;
    return true;
  }

 private:
  HANDLE file_;
  std::string temp_, target_;
  bool committed_ = false;
};

// CreateDirectory wants no final separator (except on a root such as C:\).
std::string WithoutFinalSeparator(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && EndsWithSeparator(p) && !(p.size() == 3 && p[1] == ':')) p.pop_back();
  return p;
}

}  // namespace

std::unique_ptr<ZipByteSource> Win32ZipFileSystem::OpenArchive(const std::string& path,
                                                               std::string& error) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  LARGE_INTEGER size;
  if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size)) {
    error = "cannot open the archive " + path;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return nullptr;
  }
  return std::unique_ptr<ZipByteSource>(
      new FileByteSource(file, static_cast<uint64_t>(size.QuadPart)));
}

bool Win32ZipFileSystem::MakeFolder(const std::string& path) {
  const std::string folder = WithoutFinalSeparator(path);
  if (CreateDirectoryA(folder.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<ZipOutputFile> Win32ZipFileSystem::CreateOutputFile(const std::string& folder,
                                                                   const std::string& path) {
  // What CreateFile would refuse to overwrite is not replaced either.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                     FILE_ATTRIBUTE_SYSTEM)))
    return nullptr;
  char temp[MAX_PATH + 16];
  if (GetTempFileNameA(WithoutFinalSeparator(folder).c_str(), "zip", 0, temp) == 0)
    return nullptr;
  const HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileA(temp);
    return nullptr;
  }
  return std::unique_ptr<ZipOutputFile>(new Win32OutputFile(file, temp, path));
}
