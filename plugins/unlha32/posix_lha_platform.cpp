#include "plugins/unlha32/posix_lha_platform.h"

#include "plugins/archive_common/posix_read.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "plugins/unlha32/lha_header.h"
#include "text/sjis.h"

namespace {

class FdSource : public ByteSource {
 public:
  FdSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~FdSource() override { close(fd_); }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset) return false;
    return ReadFullyAt(fd_, offset, buffer, size);
  }

 private:
  int fd_;
  uint64_t size_;
};

class PosixOutputFile : public OutputFile {
 public:
  PosixOutputFile(int fd, std::string temp, std::string target)
      : fd_(fd), temp_(std::move(temp)), target_(std::move(target)) {}
  ~PosixOutputFile() override {
    if (fd_ >= 0) close(fd_);
    if (!committed_) unlink(temp_.c_str());
  }
  bool Write(const uint8_t* data, size_t size) override {
    while (size > 0) {
      ssize_t n = write(fd_, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      data += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }
  bool Commit() override {
    int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) return false;
    if (rename(temp_.c_str(), target_.c_str()) != 0) return false;
    committed_ = true;
    return true;
  }

 private:
  int fd_;
  std::string temp_, target_;
  bool committed_ = false;
};

FileFacts FactsOf(const struct stat& st, const std::string& leaf) {
  FileFacts f;
  f.exists = true;
  f.is_folder = S_ISDIR(st.st_mode);
  f.size = f.is_folder ? 0 : static_cast<uint64_t>(st.st_size);
  f.unix_time = st.st_mtime;
  if (!leaf.empty() && leaf[0] == '.') f.attributes |= kAttrHidden;
  if (!(st.st_mode & S_IWUSR)) f.attributes |= kAttrReadOnly;
  return f;
}

// Command lines name folders with '\\' as on Windows; here both separators mean '/'.
// Names are Shift-JIS bytes as in the DLL, so a 0x5C trail byte stays.
std::string Native(std::string path) {
  for (size_t i = 0; i < path.size(); i += CheckedCharWidthAt(path, i)) {
    if (path[i] == '\\') path[i] = '/';
  }
  return path;
}

std::string Leaf(const std::string& path) {
  size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

std::unique_ptr<ByteSource> PosixLhaPlatform::OpenRead(const std::string& given_path) {
  const std::string path = Native(given_path);
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return nullptr;
  }
  return std::make_unique<FdSource>(fd, static_cast<uint64_t>(st.st_size));
}

bool PosixLhaPlatform::ReadWholeFile(const std::string& given_path, std::string& text) {
  const std::string path = Native(given_path);
  std::unique_ptr<ByteSource> source = OpenRead(path);
  if (!source) return false;
  text.assign(static_cast<size_t>(source->Size()), '\0');
  return source->ReadAt(0, &text[0], text.size());
}

FileFacts PosixLhaPlatform::Facts(const std::string& given_path) {
  const std::string path = Native(given_path);
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return FileFacts();
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return FactsOf(st, Leaf(p));
}

bool PosixLhaPlatform::ListFolder(const std::string& given_path, std::vector<FolderItem>& items) {
  const std::string path = Native(given_path);
  items.clear();
  DIR* dir = opendir(path.c_str());
  if (!dir) return false;
  std::string prefix = path;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  while (struct dirent* d = readdir(dir)) {
    std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    if (stat((prefix + name).c_str(), &st) != 0) continue;
    if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) continue;
    items.push_back({name, FactsOf(st, name)});
  }
  closedir(dir);
  return true;
}

std::string PosixLhaPlatform::FullPath(const std::string& given_path) {
  const std::string path = Native(given_path);
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved)) return resolved;
  if (!path.empty() && path[0] == '/') return path;
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) return path;
  return std::string(cwd) + "/" + path;
}

namespace {

std::string TemporaryNameBeside(const std::string& path) {
  size_t cut = path.find_last_of('/');
  std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
  for (unsigned n = static_cast<unsigned>(getpid()) * 7919u;; ++n) {
    char name[40];
    std::snprintf(name, sizeof name, "lha%05u.tmp", n % 100000u);
    std::string candidate = folder + name;
    struct stat st;
    if (lstat(candidate.c_str(), &st) != 0) return candidate;
  }
}

}  // namespace

std::unique_ptr<OutputFile> PosixLhaPlatform::Create(const std::string& given_path) {
  const std::string path = Native(given_path);
  std::string temp = TemporaryNameBeside(path);
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixOutputFile>(fd, temp, path);
}

bool PosixLhaPlatform::MakeFolders(const std::string& given_path) {
  const std::string path = Native(given_path);
  std::string so_far;
  size_t i = 0;
  while (i <= path.size()) {
    size_t end = path.find('/', i);
    if (end == std::string::npos) end = path.size();
    so_far = path.substr(0, end);
    if (!so_far.empty()) mkdir(so_far.c_str(), 0755);
    i = end + 1;
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixLhaPlatform::SetFileTime(const std::string& given_path, int64_t unix_time) {
  const std::string path = Native(given_path);
  struct timespec times[2];
  times[0].tv_sec = static_cast<time_t>(unix_time);
  times[0].tv_nsec = 0;
  times[1] = times[0];
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool PosixLhaPlatform::SetAttributes(const std::string&, uint32_t) { return true; }


int64_t PosixLhaPlatform::LocalDosToUnix(uint32_t dos_time) {
  unsigned date = dos_time >> 16, time = dos_time & 0xFFFF;
  struct tm tm = {};
  tm.tm_year = static_cast<int>(80 + (date >> 9));
  tm.tm_mon = static_cast<int>(((date >> 5) & 15)) - 1;
  tm.tm_mday = static_cast<int>(date & 31);
  tm.tm_hour = static_cast<int>(time >> 11);
  tm.tm_min = static_cast<int>((time >> 5) & 63);
  tm.tm_sec = static_cast<int>((time & 31) * 2);
  tm.tm_isdst = -1;
  time_t t = mktime(&tm);
  return t == static_cast<time_t>(-1) ? 0 : static_cast<int64_t>(t);
}

uint32_t PosixLhaPlatform::UnixToLocalDos(int64_t unix_time) {
  time_t t = static_cast<time_t>(unix_time);
  struct tm tm;
  if (!localtime_r(&t, &tm) || tm.tm_year < 80) return (1u << 5 | 1u) << 16;  // 1980-01-01
  if (tm.tm_year > 207) tm.tm_year = 207;
  uint32_t date = static_cast<uint32_t>(((tm.tm_year - 80) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
  uint32_t time = static_cast<uint32_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
  return (date << 16) | time;
}

bool PosixLhaPlatform::AskNewName(const std::string&, std::string&) { return false; }
