// Reading the central directory of a ZIP archive (PKWARE APPNOTE), ZIP64 included.
// Names are kept as the bytes stored (Shift-JIS in the archives this library is for).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "plugins/unzip32/zip_byte_source.h"

struct ZipEntry {
  std::string name;
  uint16_t version_made_by = 0;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint16_t dos_time = 0;
  uint16_t dos_date = 0;
  uint32_t crc32 = 0;
  uint32_t external_attributes = 0;
  uint64_t compressed_size = 0;
  uint64_t uncompressed_size = 0;
  uint64_t local_header_offset = 0;  // already corrected for any data before the archive
  bool has_unix_time = false;        // from the extended-timestamp extra field
  int64_t unix_time = 0;             // seconds since 1970, UTC
};

enum : uint16_t { kZipStored = 0, kZipDeflated = 8 };
enum : uint16_t { kZipFlagEncrypted = 0x0001 };

// Fills `entries` from the archive's central directory. On failure answers false with a
// short English reason in `error`; `entries` then holds what was read before the fault.
bool ReadZipDirectory(ZipByteSource& source, std::vector<ZipEntry>& entries,
                      std::string& error);

// Finds where the entry's data starts (after its local header) and checks that the
// compressed bytes lie inside the archive.
bool LocateZipEntryData(ZipByteSource& source, const ZipEntry& entry, uint64_t& data_offset,
                        std::string& error);

// True for a folder entry: the name ends with a separator, or an MS-DOS folder attribute
// on an empty entry.
bool IsZipFolderEntry(const ZipEntry& entry);
