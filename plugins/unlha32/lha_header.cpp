#include "plugins/unlha32/lha_header.h"

#include "plugins/unlha32/crc16.h"
#include "text/sjis.h"

namespace {

bool KnownMethodShape(const uint8_t* m) {
  return m[0] == '-' && m[4] == '-' && m[1] >= 0x20 && m[1] < 0x7F && m[2] >= 0x20 &&
         m[2] < 0x7F && m[3] >= 0x20 && m[3] < 0x7F;
}

// Reads the extension headers of levels 1 and 2: a chain of [size][type][data], where each
// size counts its type byte, its data and the next size field (2 bytes).
struct Extensions {
  std::string file_name;
  bool has_file_name = false;
  std::string folder;
  bool has_folder = false;
  bool has_unix_time = false;
  int64_t unix_time = 0;
  bool has_attributes = false;
  uint32_t attributes = 0;
  bool has_sizes64 = false;
  uint64_t packed64 = 0;
  uint64_t original64 = 0;
  bool has_header_crc = false;
  size_t header_crc_at = 0;  // offset of the CRC field within the header bytes
  uint16_t header_crc = 0;
};

bool ParseExtension(const uint8_t* p, size_t size, size_t offset_in_header, Extensions& ext) {
  uint8_t type = p[0];
  const uint8_t* data = p + 1;
  size_t length = size - 3;
  switch (type) {
    case 0x00:
      if (length >= 2) {
        ext.has_header_crc = true;
        ext.header_crc = Get16(data);
        ext.header_crc_at = offset_in_header + 1;
      }
      break;
    case 0x01:
      ext.file_name.assign(reinterpret_cast<const char*>(data), length);
      ext.has_file_name = true;
      break;
    case 0x02:
      ext.folder.assign(reinterpret_cast<const char*>(data), length);
      ext.has_folder = true;
      break;
    case 0x40:
      if (length >= 2) {
        ext.has_attributes = true;
        ext.attributes = Get16(data);
      }
      break;
    case 0x42:
      if (length >= 16) {
        ext.has_sizes64 = true;
        ext.packed64 = Get64(data);
        ext.original64 = Get64(data + 8);
      }
      break;
    case 0x54:
      if (length >= 4) {
        ext.has_unix_time = true;
        ext.unix_time = Get32(data);
      }
      break;
    default:
      break;
  }
  return true;
}

void ApplyExtensions(const Extensions& ext, const std::string& base_name, LhaEntry& entry) {
  std::string name = ext.has_file_name ? ext.file_name : base_name;
  std::string folder = ext.has_folder ? ext.folder : std::string();
  std::string full = folder.empty() ? name : folder + '\xFF' + name;
  entry.name = NormaliseStoredName(full);
  if (ext.has_attributes) entry.attributes = ext.attributes & 0xFF;
  if (ext.has_unix_time && !entry.has_unix_time) {
    entry.has_unix_time = true;
    entry.unix_time = ext.unix_time;
  }
  if (ext.has_sizes64) {
    entry.packed_size = ext.packed64;
    entry.original_size = ext.original64;
  }
}

HeaderResult Fail(std::string& error, const std::string& text) {
  error = text;
  return HeaderResult::kError;
}

HeaderResult ReadLevel01(ByteSource& source, uint64_t offset, const uint8_t* start,
                         LhaEntry& entry, std::string& error) {
  size_t base_size = static_cast<size_t>(start[0]) + 2;
  if (base_size < 24) return Fail(error, "broken header");
  std::vector<uint8_t> h(base_size);
  if (!source.ReadAt(offset, h.data(), h.size())) return Fail(error, "truncated header");
  unsigned sum = 0;
  for (size_t i = 2; i < base_size; ++i) sum += h[i];
  if ((sum & 0xFF) != h[1]) return Fail(error, "header checksum error");
  if (!KnownMethodShape(&h[2])) return Fail(error, "broken header");
  entry.method.assign(reinterpret_cast<const char*>(&h[2]), 5);
  entry.packed_size = Get32(&h[7]);
  entry.original_size = Get32(&h[11]);
  entry.dos_time = Get32(&h[15]);
  entry.attributes = h[19];
  entry.level = h[20];
  size_t name_length = h[21];
  if (22 + name_length + 2 > base_size) return Fail(error, "broken header");
  std::string base_name(reinterpret_cast<const char*>(&h[22]), name_length);
  entry.crc = Get16(&h[22 + name_length]);
  uint64_t after = offset + base_size;
  if (entry.level == 0) {
    entry.name = NormaliseStoredName(base_name);
    entry.data_offset = after;
  } else {
    if (22 + name_length + 5 > base_size) return Fail(error, "broken header");
    entry.os_id = h[24 + name_length];
    size_t next = Get16(&h[base_size - 2]);
    Extensions ext;
    uint64_t ext_total = 0;
    while (next != 0) {
      if (next < 3) return Fail(error, "broken extended header");
      std::vector<uint8_t> e(next);
      if (!source.ReadAt(after + ext_total, e.data(), e.size()))
        return Fail(error, "truncated header");
      ParseExtension(e.data(), e.size(), 0, ext);
      ext_total += next;
      next = Get16(&e[next - 2]);
      if (ext_total > entry.packed_size) return Fail(error, "broken extended header");
    }
    // In level 1 the packed size counts the extension headers too.
    entry.packed_size -= ext_total;
    ApplyExtensions(ext, base_name, entry);
    entry.data_offset = after + ext_total;
  }
  return HeaderResult::kEntry;
}

HeaderResult ReadLevel2(ByteSource& source, uint64_t offset, const uint8_t* start,
                        LhaEntry& entry, std::string& error) {
  size_t total = Get16(start);
  if (total < 26) return Fail(error, "broken header");
  std::vector<uint8_t> h(total);
  if (!source.ReadAt(offset, h.data(), h.size())) return Fail(error, "truncated header");
  if (!KnownMethodShape(&h[2])) return Fail(error, "broken header");
  entry.method.assign(reinterpret_cast<const char*>(&h[2]), 5);
  entry.packed_size = Get32(&h[7]);
  entry.original_size = Get32(&h[11]);
  entry.has_unix_time = true;
  entry.unix_time = Get32(&h[15]);
  entry.level = 2;
  entry.attributes = kAttrArchive;
  entry.crc = Get16(&h[21]);
  entry.os_id = h[23];
  size_t pos = 24;
  size_t next = Get16(&h[pos]);
  pos += 2;
  Extensions ext;
  while (next != 0) {
    if (next < 3 || next > total - pos) return Fail(error, "broken extended header");
    ParseExtension(&h[pos], next, pos, ext);
    pos += next;
    next = Get16(&h[pos - 2]);
  }
  // What is left (at most a padding byte) belongs to the header.
  if (ext.has_header_crc) {
    std::vector<uint8_t> copy = h;
    copy[ext.header_crc_at] = 0;
    copy[ext.header_crc_at + 1] = 0;
    if (UpdateCrc16(0, copy.data(), copy.size()) != ext.header_crc)
      return Fail(error, "header CRC error");
  }
  ApplyExtensions(ext, std::string(), entry);
  entry.data_offset = offset + total;
  return HeaderResult::kEntry;
}

}  // namespace

std::string NormaliseStoredName(const std::string& raw) {
  std::string out;
  size_t i = 0;
  while (i < raw.size()) {
    unsigned char c = static_cast<unsigned char>(raw[i]);
    if (c == 0xFF || c == '\\' || c == '/') {
      if (!out.empty() && out.back() != '/') out += '/';
      ++i;
    } else if (CheckedCharWidthAt(raw, i) == 2) {
      out.append(raw, i, 2);
      i += 2;
    } else {
      out += static_cast<char>(c);
      ++i;
    }
  }
  // A trailing '/' is a separator unless it ends a Shift-JIS character; pairs are never '/'.
  if (!out.empty() && out.back() == '/') out.pop_back();
  return out;
}

HeaderResult ReadLhaHeader(ByteSource& source, uint64_t offset, LhaEntry& entry,
                           std::string& error) {
  entry = LhaEntry();
  entry.header_offset = offset;
  uint64_t size = source.Size();
  if (offset >= size) return HeaderResult::kEnd;
  uint8_t start[22];
  if (size - offset < 1) return HeaderResult::kEnd;
  if (!source.ReadAt(offset, start, 1)) return Fail(error, "read error");
  if (start[0] == 0) return HeaderResult::kEnd;
  if (size - offset < sizeof start) return Fail(error, "truncated header");
  if (!source.ReadAt(offset, start, sizeof start)) return Fail(error, "read error");
  HeaderResult result;
  switch (start[20]) {
    case 0:
    case 1:
      result = ReadLevel01(source, offset, start, entry, error);
      break;
    case 2:
      result = ReadLevel2(source, offset, start, entry, error);
      break;
    default:
      return Fail(error, "unsupported header level " + std::to_string(start[20]));
  }
  if (result != HeaderResult::kEntry) return result;
  if (entry.data_offset > size || entry.packed_size > size - entry.data_offset)
    return Fail(error, "truncated archive");
  if (entry.name.empty() && !entry.IsFolder()) return Fail(error, "member without a name");
  if (entry.IsFolder()) entry.attributes |= kAttrFolder;
  return HeaderResult::kEntry;
}

std::vector<uint8_t> BuildLevel2Header(const LhaEntry& entry) {
  std::string file = entry.name;
  std::string folder;
  size_t slash = file.rfind('/');
  if (slash != std::string::npos) {
    folder = file.substr(0, slash);
    file = file.substr(slash + 1);
  }
  if (entry.IsFolder()) {
    folder = entry.name;
    file.clear();
  }
  std::vector<uint8_t> h;
  Put16(h, 0);  // total size, filled in below
  h.insert(h.end(), entry.method.begin(), entry.method.end());
  Put32(h, static_cast<uint32_t>(entry.packed_size));
  Put32(h, static_cast<uint32_t>(entry.original_size));
  Put32(h, static_cast<uint32_t>(entry.unix_time));
  h.push_back(0x20);
  h.push_back(2);
  Put16(h, entry.crc);
  h.push_back('M');
  size_t crc_at = 0;
  auto extension = [&h, &crc_at](uint8_t type, const std::vector<uint8_t>& data) {
    Put16(h, static_cast<uint16_t>(data.size() + 3));
    h.push_back(type);
    if (type == 0x00) crc_at = h.size();
    h.insert(h.end(), data.begin(), data.end());
  };
  extension(0x00, {0, 0});
  extension(0x01, std::vector<uint8_t>(file.begin(), file.end()));
  if (!folder.empty()) {
    std::vector<uint8_t> dir;
    for (char c : folder) dir.push_back(c == '/' ? 0xFF : static_cast<uint8_t>(c));
    dir.push_back(0xFF);
    extension(0x02, dir);
  }
  std::vector<uint8_t> attributes;
  Put16(attributes, static_cast<uint16_t>(entry.attributes & 0xFF));
  extension(0x40, attributes);
  Put16(h, 0);  // no further extension
  // A total whose low byte is 0 would read as the end of the archive: pad one byte.
  if ((h.size() & 0xFF) == 0) h.push_back(0);
  h[0] = static_cast<uint8_t>(h.size());
  h[1] = static_cast<uint8_t>(h.size() >> 8);
  uint16_t crc = UpdateCrc16(0, h.data(), h.size());
  h[crc_at] = static_cast<uint8_t>(crc);
  h[crc_at + 1] = static_cast<uint8_t>(crc >> 8);
  return h;
}
