#include "plugins/unzip32/posix_zip_file_system.h"

#include "plugins/archive_common/posix_read.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

class FileByteSource : public ZipByteSource {
 public:
  FileByteSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~FileByteSource() override { close(fd_); }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset) return false;
    return ReadFullyAt(fd_, offset, buffer, size);
  }

 private:
  int fd_;
  uint64_t size_;
};

// The entry's time as seconds since 1970: the UTC stamp when stored, else the MS-DOS
// date and time read as local time.
time_t EntryTime(const ZipEntry& entry) {
  if (entry.has_unix_time) return static_cast<time_t>(entry.unix_time);
  struct tm t = {};
  t.tm_year = ((entry.dos_date >> 9) & 0x7F) + 80;
  t.tm_mon = ((entry.dos_date >> 5) & 0x0F) - 1;
  t.tm_mday = entry.dos_date & 0x1F;
  t.tm_hour = (entry.dos_time >> 11) & 0x1F;
  t.tm_min = (entry.dos_time >> 5) & 0x3F;
  t.tm_sec = (entry.dos_time & 0x1F) * 2;
  t.tm_isdst = -1;
  return mktime(&t);
}

class PosixOutputFile : public ZipOutputFile {
 public:
  PosixOutputFile(int fd, std::string temp, std::string target)
      : fd_(fd), temp_(std::move(temp)), target_(std::move(target)) {}
  ~PosixOutputFile() override {
    if (fd_ >= 0) close(fd_);
    if (!committed_) unlink(temp_.c_str());
  }
  bool Write(const void* data, size_t size) override {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n = write(fd_, p, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      p += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }
  bool Commit(const ZipEntry& entry) override {
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = EntryTime(entry);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    futimens(fd_, times);  // a file without its date is still a good file
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0 || rename(temp_.c_str(), target_.c_str()) != 0) return false;
    committed_ = true;
    return true;
  }

 private:
  int fd_;
  std::string temp_, target_;
  bool committed_ = false;
};

// A new file "zipNNNNN.tmp" in FOLDER, created exclusively; -1 when none can be made.
int CreateTemporaryFile(const std::string& folder, std::string& temp) {
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  unsigned n = static_cast<unsigned>(getpid()) * 7919u;
  for (int tries = 0; tries < 1000; ++tries, ++n) {
    char name[40];
    std::snprintf(name, sizeof name, "zip%05u.tmp", n % 100000u);
    temp = prefix + name;
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::unique_ptr<ZipByteSource> PosixZipFileSystem::OpenArchive(const std::string& path,
                                                               std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "cannot open the archive " + path;
    if (fd >= 0) close(fd);
    return nullptr;
  }
  return std::unique_ptr<ZipByteSource>(new FileByteSource(fd, static_cast<uint64_t>(st.st_size)));
}

bool PosixZipFileSystem::MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return true;
  struct stat st;
  // lstat: a link planted where a folder should be is not followed.
  return errno == EEXIST && lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::unique_ptr<ZipOutputFile> PosixZipFileSystem::CreateOutputFile(const std::string& folder,
                                                                   const std::string& path) {
  // Only a plain file we may write is replaced; links are not followed or replaced.
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || access(path.c_str(), W_OK) != 0))
    return nullptr;
  std::string temp;
  const int fd = CreateTemporaryFile(folder, temp);
  if (fd < 0) return nullptr;
  return std::unique_ptr<ZipOutputFile>(new PosixOutputFile(fd, temp, path));
}
