// Reading a stretch of a POSIX file whole, at an offset (the native builds' archive sources).
#pragma once
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>

// Reads exactly size bytes at offset, retrying interrupted and short reads; false when the
// file ends first or a read fails.
inline bool ReadFullyAt(int fd, uint64_t offset, void* buffer, size_t size) {
  char* p = static_cast<char*>(buffer);
  while (size > 0) {
    ssize_t n = pread(fd, p, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}
