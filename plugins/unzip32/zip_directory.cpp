#include "plugins/unzip32/zip_directory.h"

#include <algorithm>

#include "plugins/archive_common/member_path.h"

namespace {

const uint32_t kLocalHeaderSig = 0x04034b50;
const uint32_t kCentralHeaderSig = 0x02014b50;
const uint32_t kEndSig = 0x06054b50;
const uint32_t kZip64EndSig = 0x06064b50;
const uint32_t kZip64LocatorSig = 0x07064b50;
const size_t kEndSize = 22;
const size_t kZip64LocatorSize = 20;
const size_t kZip64EndSize = 56;
const size_t kCentralHeaderSize = 46;
const size_t kLocalHeaderSize = 30;

uint16_t Get16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t Get64(const unsigned char* p) {
  return static_cast<uint64_t>(Get32(p)) | (static_cast<uint64_t>(Get32(p + 4)) << 32);
}

struct EndRecord {
  uint64_t position = 0;       // where the end record itself was found
  uint64_t directory_end = 0;  // where the central directory should end
  uint64_t entry_count = 0;
  uint64_t directory_size = 0;
  uint64_t directory_offset = 0;
  bool zip64 = false;
};

// The end record sits in the last 22 + 65535 bytes (its comment is at most 65535 bytes).
// Prefer a record whose comment reaches exactly to the end; otherwise take the last one
// seen, which tolerates junk appended after the archive.
bool FindEndRecord(ZipByteSource& source, EndRecord& end, std::string& error) {
  const uint64_t size = source.Size();
  if (size < kEndSize) {
    error = "not a ZIP archive (too short)";
    return false;
  }
  const uint64_t window = std::min<uint64_t>(size, kEndSize + 0xFFFF);
  std::vector<unsigned char> tail(static_cast<size_t>(window));
  if (!source.ReadAt(size - window, tail.data(), tail.size())) {
    error = "cannot read the archive";
    return false;
  }
  long found = -1;
  for (long i = static_cast<long>(tail.size() - kEndSize); i >= 0; --i) {
    const unsigned char* p = &tail[static_cast<size_t>(i)];
    if (Get32(p) != kEndSig) continue;
    const uint64_t comment = Get16(p + 20);
    if (static_cast<uint64_t>(i) + kEndSize + comment == tail.size()) {
      found = i;
      break;
    }
    if (found < 0) found = i;
  }
  if (found < 0) {
    error = "not a ZIP archive (no end of central directory)";
    return false;
  }
  const unsigned char* p = &tail[static_cast<size_t>(found)];
  end.position = size - window + static_cast<uint64_t>(found);
  end.directory_end = end.position;
  const uint16_t disk = Get16(p + 4), directory_disk = Get16(p + 6);
  end.entry_count = Get16(p + 10);
  end.directory_size = Get32(p + 12);
  end.directory_offset = Get32(p + 16);
  const bool needs64 = Get16(p + 8) == 0xFFFF || end.entry_count == 0xFFFF ||
                       end.directory_size == 0xFFFFFFFF || end.directory_offset == 0xFFFFFFFF;

  // A ZIP64 locator right before the end record points at the ZIP64 end record.
  unsigned char locator[kZip64LocatorSize];
  if (end.position >= kZip64LocatorSize &&
      source.ReadAt(end.position - kZip64LocatorSize, locator, sizeof locator) &&
      Get32(locator) == kZip64LocatorSig) {
    const uint64_t declared = Get64(locator + 8);
    unsigned char record[kZip64EndSize];
    uint64_t record_at = declared;
    bool ok = source.ReadAt(record_at, record, sizeof record) && Get32(record) == kZip64EndSig;
    if (!ok && end.position >= kZip64LocatorSize + kZip64EndSize) {
      // Data put before the archive shifts every offset; the record normally sits
      // right before its locator.
      record_at = end.position - kZip64LocatorSize - kZip64EndSize;
      ok = source.ReadAt(record_at, record, sizeof record) && Get32(record) == kZip64EndSig;
    }
    if (ok) {
      if (Get32(record + 16) != 0 || Get32(record + 20) != 0 || Get32(locator + 16) > 1) {
        error = "archives split over several disks are not supported";
        return false;
      }
      end.entry_count = Get64(record + 32);
      end.directory_size = Get64(record + 40);
      end.directory_offset = Get64(record + 48);
      end.zip64 = true;
      end.directory_end = record_at;
      return true;
    }
    if (needs64) {
      error = "damaged archive (ZIP64 end record missing)";
      return false;
    }
  }
  if (disk != 0 || directory_disk != 0) {
    error = "archives split over several disks are not supported";
    return false;
  }
  return true;
}

// Reads the ZIP64 extended-information field: only the values whose 32-bit field in the
// header is all ones are present, in this fixed order.
bool ApplyZip64Extra(const unsigned char* data, size_t size, bool want_uncompressed,
                     bool want_compressed, bool want_offset, ZipEntry& entry) {
  size_t at = 0;
  auto take = [&](uint64_t& value) {
    if (size - at < 8) return false;
    value = Get64(data + at);
    at += 8;
    return true;
  };
  if (want_uncompressed && !take(entry.uncompressed_size)) return false;
  if (want_compressed && !take(entry.compressed_size)) return false;
  if (want_offset && !take(entry.local_header_offset)) return false;
  return true;
}

bool ReadExtraFields(const unsigned char* data, size_t size, bool want_uncompressed,
                     bool want_compressed, bool want_offset, ZipEntry& entry) {
  bool zip64_done = !(want_uncompressed || want_compressed || want_offset);
  size_t at = 0;
  while (size - at >= 4) {
    const uint16_t id = Get16(data + at);
    const uint16_t length = Get16(data + at + 2);
    at += 4;
    if (length > size - at) break;  // a broken extra block: ignore the rest
    const unsigned char* field = data + at;
    if (id == 0x0001 && !zip64_done) {
      if (!ApplyZip64Extra(field, length, want_uncompressed, want_compressed, want_offset,
                           entry))
        return false;
      zip64_done = true;
    } else if (id == 0x5455 && length >= 5 && (field[0] & 1)) {
      entry.has_unix_time = true;
      entry.unix_time = static_cast<int32_t>(Get32(field + 1));
    }
    at += length;
  }
  return zip64_done;
}

}  // namespace

bool ReadZipDirectory(ZipByteSource& source, std::vector<ZipEntry>& entries,
                      std::string& error) {
  entries.clear();
  EndRecord end;
  if (!FindEndRecord(source, end, error)) return false;

  if (end.directory_size > end.directory_end) {
    error = "damaged archive (central directory size)";
    return false;
  }
  // Where the directory really starts: right before the end record (or the ZIP64 records).
  // A difference from the declared offset means data was put before the archive (for
  // example a self-extractor stub); every stored offset is then shifted by it.
  uint64_t shift = 0;
  unsigned char sig[4];
  if (end.entry_count != 0 &&
      !(source.ReadAt(end.directory_offset, sig, 4) && Get32(sig) == kCentralHeaderSig)) {
    const uint64_t actual = end.directory_end - end.directory_size;
    if (actual > end.directory_offset && source.ReadAt(actual, sig, 4) &&
        Get32(sig) == kCentralHeaderSig)
      shift = actual - end.directory_offset;
  }
  if (end.directory_offset > UINT64_MAX - shift) {
    error = "damaged archive (central directory offset)";
    return false;
  }
  uint64_t at = end.directory_offset + shift;
  if (at > end.directory_end || end.directory_size > end.directory_end - at) {
    error = "damaged archive (central directory outside the file)";
    return false;
  }
  const uint64_t limit = at + end.directory_size;

  // Each header is at least 46 bytes, so the count can never outgrow the directory.
  if (end.entry_count > end.directory_size / kCentralHeaderSize) {
    error = "damaged archive (entry count)";
    return false;
  }
  entries.reserve(static_cast<size_t>(std::min<uint64_t>(end.entry_count, 4096)));
  std::vector<unsigned char> variable;
  for (uint64_t n = 0; n < end.entry_count; ++n) {
    unsigned char h[kCentralHeaderSize];
    if (limit - at < kCentralHeaderSize || !source.ReadAt(at, h, sizeof h) ||
        Get32(h) != kCentralHeaderSig) {
      error = "damaged archive (central directory entry " + std::to_string(n + 1) + ")";
      return false;
    }
    ZipEntry e;
    e.version_made_by = Get16(h + 4);
    e.flags = Get16(h + 8);
    e.method = Get16(h + 10);
    e.dos_time = Get16(h + 12);
    e.dos_date = Get16(h + 14);
    e.crc32 = Get32(h + 16);
    e.compressed_size = Get32(h + 20);
    e.uncompressed_size = Get32(h + 24);
    const size_t name_length = Get16(h + 28);
    const size_t extra_length = Get16(h + 30);
    const size_t comment_length = Get16(h + 32);
    const uint16_t start_disk = Get16(h + 34);
    e.external_attributes = Get32(h + 38);
    e.local_header_offset = Get32(h + 42);
    at += kCentralHeaderSize;
    const size_t variable_length = name_length + extra_length + comment_length;
    if (limit - at < variable_length) {
      error = "damaged archive (central directory entry " + std::to_string(n + 1) + ")";
      return false;
    }
    variable.resize(variable_length);
    if (variable_length && !source.ReadAt(at, variable.data(), variable_length)) {
      error = "cannot read the archive";
      return false;
    }
    at += variable_length;
    e.name.assign(reinterpret_cast<const char*>(variable.data()), name_length);
    const bool want_uncompressed = e.uncompressed_size == 0xFFFFFFFF;
    const bool want_compressed = e.compressed_size == 0xFFFFFFFF;
    const bool want_offset = e.local_header_offset == 0xFFFFFFFF;
    if (!ReadExtraFields(variable.data() + name_length, extra_length, want_uncompressed,
                         want_compressed, want_offset, e)) {
      error = "damaged archive (ZIP64 sizes of entry " + std::to_string(n + 1) + ")";
      return false;
    }
    if (start_disk != 0 && start_disk != 0xFFFF) {
      error = "archives split over several disks are not supported";
      return false;
    }
    if (e.local_header_offset > UINT64_MAX - shift) {
      error = "damaged archive (entry offset)";
      return false;
    }
    e.local_header_offset += shift;
    entries.push_back(std::move(e));
  }
  return true;
}

bool LocateZipEntryData(ZipByteSource& source, const ZipEntry& entry, uint64_t& data_offset,
                        std::string& error) {
  unsigned char h[kLocalHeaderSize];
  if (!source.ReadAt(entry.local_header_offset, h, sizeof h) ||
      Get32(h) != kLocalHeaderSig) {
    error = "damaged archive (local header)";
    return false;
  }
  const uint64_t start = entry.local_header_offset + kLocalHeaderSize +
                         Get16(h + 26) + static_cast<uint64_t>(Get16(h + 28));
  const uint64_t size = source.Size();
  if (start > size || entry.compressed_size > size - start) {
    error = "truncated archive";
    return false;
  }
  data_offset = start;
  return true;
}

bool IsZipFolderEntry(const ZipEntry& entry) {
  if (EndsWithSeparator(entry.name)) return true;
  const uint8_t host = static_cast<uint8_t>(entry.version_made_by >> 8);
  const bool dos_attributes = host == 0 || host == 10 || host == 11 || host == 14;
  return dos_attributes && (entry.external_attributes & 0x10) && entry.uncompressed_size == 0;
}
