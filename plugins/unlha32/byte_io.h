// Where the LHA code reads archives from and writes member data to.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// An archive opened for reading at any offset.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly SIZE bytes at OFFSET; false when they are not all there.
  virtual bool ReadAt(uint64_t offset, void* buffer, size_t size) = 0;
};

// A source over bytes held in memory (tests, fuzzers).
class MemorySource : public ByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* buffer, size_t size) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

// Receives decoded bytes in order; false stops the decoding (a write failed).
using ByteSink = std::function<bool(const uint8_t* data, size_t size)>;

// Little-endian field access on header bytes.
inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint64_t Get64(const uint8_t* p) {
  return static_cast<uint64_t>(Get32(p)) | (static_cast<uint64_t>(Get32(p + 4)) << 32);
}
void Put16(std::vector<uint8_t>& out, uint16_t v);
void Put32(std::vector<uint8_t>& out, uint32_t v);
