// Random access to the bytes of an archive, so the directory reader works the same on a
// file (Win32 or POSIX) and on a memory block (tests, fuzzing).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class ZipByteSource {
 public:
  virtual ~ZipByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly `size` bytes at `offset`; false when any of them lies past the end
  // or the read fails.
  virtual bool ReadAt(uint64_t offset, void* buffer, size_t size) = 0;
};

class MemoryByteSource : public ZipByteSource {
 public:
  MemoryByteSource(const void* data, size_t size)
      : data_(static_cast<const unsigned char*>(data)), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override {
    if (offset > size_ || size > size_ - offset) return false;
    if (size) std::memcpy(buffer, data_ + offset, size);
    return true;
  }

 private:
  const unsigned char* data_;
  size_t size_;
};
