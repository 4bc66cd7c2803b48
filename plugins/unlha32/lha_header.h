// LHA member headers: reading levels 0, 1 and 2, writing level 2.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "plugins/unlha32/byte_io.h"

// MS-DOS file attributes as archives store them.
enum : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrFolder = 0x10,
  kAttrArchive = 0x20,
};

struct LhaEntry {
  std::string method;      // five characters, e.g. "-lh5-"
  std::string name;        // stored bytes, folders separated by '/', no trailing '/'
  uint64_t packed_size = 0;
  uint64_t original_size = 0;
  uint16_t crc = 0;
  int level = 0;
  uint8_t os_id = 0;
  uint32_t attributes = kAttrArchive;
  // Levels 0 and 1 keep an MS-DOS local time; level 2 (and a level-1 Unix extension) a UTC one.
  bool has_unix_time = false;
  int64_t unix_time = 0;
  uint32_t dos_time = 0;   // date in the high word, time in the low word
  uint64_t header_offset = 0;
  uint64_t data_offset = 0;  // header_offset + every header byte

  bool IsFolder() const { return method == "-lhd-"; }
  uint64_t EndOffset() const { return data_offset + packed_size; }
};

enum class HeaderResult { kEntry, kEnd, kError };

// Reads the member header at OFFSET. kEnd at the end of the file or at the terminating zero
// byte; kError with ERROR for anything malformed, including member data that would run past
// the end of the file.
HeaderResult ReadLhaHeader(ByteSource& source, uint64_t offset, LhaEntry& entry,
                           std::string& error);

// A level-2 header for ENTRY (method, sizes, CRC, unix_time, attributes, name).
// The folder part of the name goes into the directory extension, separated by 0xFF.
std::vector<uint8_t> BuildLevel2Header(const LhaEntry& entry);

// Normalises a stored name: 0xFF, '\\' and '/' (outside Shift-JIS characters) become '/',
// empty parts are dropped and no '/' is left at either end.
std::string NormaliseStoredName(const std::string& raw);
