// Hand-built ZIP archives for the tests: members with any name, size or CRC, so hostile
// and damaged archives that no archiver would write can be made on purpose.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct BuiltMember {
  std::string name;
  std::string payload;  // the bytes stored after the local header
  uint16_t method = 0;
  uint16_t flags = 0;
  uint32_t crc32 = 0;
  uint32_t compressed_size = 0;
  uint32_t uncompressed_size = 0;
  uint16_t dos_time = 0x5000;  // 10:00:00
  uint16_t dos_date = 0x2667;  // 1999-03-07
};

class ZipBuilder {
 public:
  // A stored member with its true CRC and sizes (change them afterwards to damage it).
  BuiltMember& AddStored(const std::string& name, const std::string& data);
  // A member deflated with zlib, true CRC and sizes.
  BuiltMember& AddDeflated(const std::string& name, const std::string& data);
  std::string Build() const;

 private:
  std::vector<BuiltMember> members_;
};

uint32_t Crc32Of(const std::string& data);
