#include "plugins/unlha32/win32_lha_platform_win.h"

#include "plugins/archive_common/member_path.h"
#include "plugins/unlha32/lha_header.h"
#include "plugins/unlha32/rename_dialog_win.h"
#include "text/sjis.h"

namespace {

const int64_t kUnixEpochAsFileTime = 116444736000000000LL;  // 1970-01-01 in 100 ns units

FILETIME FileTimeOfUnix(int64_t unix_time) {
  uint64_t v = static_cast<uint64_t>(unix_time * 10000000LL + kUnixEpochAsFileTime);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(v);
  ft.dwHighDateTime = static_cast<DWORD>(v >> 32);
  return ft;
}

int64_t UnixOfFileTime(const FILETIME& ft) {
  int64_t v = static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
  return (v - kUnixEpochAsFileTime) / 10000000LL;
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (ok()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  HANDLE release() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return h;
  }

 private:
  HANDLE h_;
};

class HandleSource : public ByteSource {
 public:
  HandleSource(HANDLE h, uint64_t size) : file_(h), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset) return false;
    LONG high = static_cast<LONG>(offset >> 32);
    if (SetFilePointer(file_.get(), static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN) ==
            INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
      return false;
    char* p = static_cast<char*>(buffer);
    while (size > 0) {
      DWORD chunk = size > 0x100000 ? 0x100000 : static_cast<DWORD>(size);
      DWORD got = 0;
      if (!ReadFile(file_.get(), p, chunk, &got, nullptr) || got == 0) return false;
      p += got;
      size -= got;
    }
    return true;
  }

 private:
  Handle file_;
  uint64_t size_;
};

std::string FolderOf(const std::string& path) {
  size_t cut = FindLastSingleByteChar(path, "\\/:");
  return cut == std::string::npos ? std::string(".") : path.substr(0, cut + 1);
}

bool MoveOver(const std::string& from, const std::string& to) {
  // A read-only, hidden or system file would refuse to be replaced.
  DWORD attributes = GetFileAttributesA(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
    SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  // Windows 95 and 98 have no MoveFileEx.
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  DeleteFileA(to.c_str());
  return MoveFileA(from.c_str(), to.c_str()) != 0;
}

class HandleOutputFile : public OutputFile {
 public:
  HandleOutputFile(HANDLE h, std::string temp, std::string target)
      : file_(h), temp_(std::move(temp)), target_(std::move(target)) {}
  ~HandleOutputFile() override {
    if (!committed_) {
      CloseHandle(file_.release());
      DeleteFileA(temp_.c_str());
    }
  }
  bool Write(const uint8_t* data, size_t size) override {
    while (size > 0) {
      DWORD chunk = size > 0x100000 ? 0x100000 : static_cast<DWORD>(size);
      DWORD wrote = 0;
      if (!WriteFile(file_.get(), data, chunk, &wrote, nullptr) || wrote != chunk) return false;
      data += chunk;
      size -= chunk;
    }
    return true;
  }
  bool Commit() override {
    if (!CloseHandle(file_.release())) return false;
    if (!MoveOver(temp_, target_)) return false;
    committed_ = true;
    return true;
  }

 private:
  Handle file_;
  std::string temp_, target_;
  bool committed_ = false;
};

uint32_t FactsAttributes(DWORD a) {
  uint32_t out = 0;
  if (a & FILE_ATTRIBUTE_READONLY) out |= kAttrReadOnly;
  if (a & FILE_ATTRIBUTE_HIDDEN) out |= kAttrHidden;
  if (a & FILE_ATTRIBUTE_SYSTEM) out |= kAttrSystem;
  return out;
}

FileFacts FactsOf(const WIN32_FIND_DATAA& fd) {
  FileFacts f;
  f.exists = true;
  f.is_folder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  f.size = f.is_folder ? 0 : (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
  f.unix_time = UnixOfFileTime(fd.ftLastWriteTime);
  f.attributes = FactsAttributes(fd.dwFileAttributes);
  return f;
}

}  // namespace

std::unique_ptr<ByteSource> Win32LhaPlatform::OpenRead(const std::string& path) {
  Handle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.ok()) return nullptr;
  DWORD high = 0;
  DWORD low = GetFileSize(h.get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return nullptr;
  uint64_t size = (static_cast<uint64_t>(high) << 32) | low;
  return std::unique_ptr<ByteSource>(new HandleSource(h.release(), size));
}

bool Win32LhaPlatform::ReadWholeFile(const std::string& path, std::string& text) {
  std::unique_ptr<ByteSource> source = OpenRead(path);
  if (!source || source->Size() > (64u << 20)) return false;
  text.assign(static_cast<size_t>(source->Size()), '\0');
  return text.empty() || source->ReadAt(0, &text[0], text.size());
}

FileFacts Win32LhaPlatform::Facts(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && EndsWithSeparator(p) && p[p.size() - 2] != ':') p.pop_back();
  DWORD attributes = GetFileAttributesA(p.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileFacts();
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA(p.c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    FindClose(find);
    return FactsOf(fd);
  }
  FileFacts f;  // a drive's root has no find data
  f.exists = true;
  f.is_folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  f.attributes = FactsAttributes(attributes);
  return f;
}

bool Win32LhaPlatform::ListFolder(const std::string& path, std::vector<FolderItem>& items) {
  items.clear();
  std::string pattern = path;
  if (!pattern.empty() && !EndsWithSeparator(pattern) && pattern.back() != ':') pattern += '\\';
  pattern += "*.*";
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA(pattern.c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    items.push_back({name, FactsOf(fd)});
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  return true;
}

std::string Win32LhaPlatform::FullPath(const std::string& path) {
  char buffer[MAX_PATH * 2];
  char* file_part = nullptr;
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, &file_part);
  std::string full = (n == 0 || n >= sizeof buffer) ? path : std::string(buffer, n);
  std::string upper;  // names differ on Windows only in more than ASCII case
  for (size_t i = 0; i < full.size();) {
    const size_t width = CharWidthAt(full, i);
    char c = full[i];
    if (width == 1 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    upper += c;
    if (width == 2) upper += full[i + 1];
    i += width;
  }
  return upper;
}

std::unique_ptr<OutputFile> Win32LhaPlatform::Create(const std::string& path) {
  char temp[MAX_PATH + 16];
  if (GetTempFileNameA(FolderOf(path).c_str(), "lha", 0, temp) == 0) return nullptr;
  Handle h(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr));
  if (!h.ok()) {
    DeleteFileA(temp);
    return nullptr;
  }
  return std::unique_ptr<OutputFile>(new HandleOutputFile(h.release(), temp, path));
}

bool Win32LhaPlatform::MakeFolders(const std::string& path) {
  // Create each level in turn, skipping the drive ("C:") and a UNC server and share.
  size_t start = 0;
  if (path.size() >= 2 && path[1] == ':') start = 2;
  if (path.compare(0, 2, "\\\\") == 0) {
    int separators = 0;
    for (start = 2; start < path.size() && separators < 2; ++start)
      if (path[start] == '\\' || path[start] == '/') ++separators;
  }
  for (size_t i = start; i <= path.size(); i += i < path.size() ? CharWidthAt(path, i) : 1) {
    if (i < path.size() && path[i] != '\\' && path[i] != '/') continue;
    std::string prefix = path.substr(0, i);
    if (prefix.size() > start) CreateDirectoryA(prefix.c_str(), nullptr);
  }
  std::string p = path;
  while (p.size() > 1 && EndsWithSeparator(p) && p[p.size() - 2] != ':') p.pop_back();
  DWORD attributes = GetFileAttributesA(p.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32LhaPlatform::SetFileTime(const std::string& path, int64_t unix_time) {
  Handle h(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.ok()) return false;
  FILETIME ft = FileTimeOfUnix(unix_time);
  return ::SetFileTime(h.get(), nullptr, nullptr, &ft) != 0;
}

bool Win32LhaPlatform::SetAttributes(const std::string& path, uint32_t attributes) {
  DWORD a = 0;
  if (attributes & kAttrReadOnly) a |= FILE_ATTRIBUTE_READONLY;
  if (attributes & kAttrHidden) a |= FILE_ATTRIBUTE_HIDDEN;
  if (attributes & kAttrSystem) a |= FILE_ATTRIBUTE_SYSTEM;
  if (attributes & kAttrArchive) a |= FILE_ATTRIBUTE_ARCHIVE;
  return SetFileAttributesA(path.c_str(), a ? a : FILE_ATTRIBUTE_NORMAL) != 0;
}

int64_t Win32LhaPlatform::LocalDosToUnix(uint32_t dos_time) {
  FILETIME local, utc;
  if (!DosDateTimeToFileTime(static_cast<WORD>(dos_time >> 16), static_cast<WORD>(dos_time), &local) ||
      !LocalFileTimeToFileTime(&local, &utc))
    return 0;
  return UnixOfFileTime(utc);
}

uint32_t Win32LhaPlatform::UnixToLocalDos(int64_t unix_time) {
  FILETIME utc = FileTimeOfUnix(unix_time), local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return (1u << 5 | 1u) << 16;  // 1980-01-01
  return (static_cast<uint32_t>(date) << 16) | time;
}

bool Win32LhaPlatform::AskNewName(const std::string& old_name, std::string& new_name) {
  return AskMemberName(owner_, old_name, new_name);
}
