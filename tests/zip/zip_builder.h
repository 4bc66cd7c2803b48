// Hand-built ZIP archives: members with any name, size, CRC or flags, so that hostile and
// damaged archives no archiver would write can be made on purpose.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct BuiltMember {
  std::string name, payload;  // payload: the bytes after the local header
  uint16_t method = 0, flags = 0;
  uint32_t crc32 = 0, compressed_size = 0, uncompressed_size = 0;
};

// A member stored, or deflated by zlib when PACKED, with its true CRC and sizes (change them to damage it).
BuiltMember Member(const std::string& name, const std::string& data, bool deflate = false);
// Local headers and data, the central directory and its end; every member is dated
// 1999-03-07 10:00:00.
std::string BuildZip(const std::vector<BuiltMember>& members);
