#include "zip/zip_builder.h"

#include <zlib.h>

namespace {
void Put(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}
}  // namespace

BuiltMember Member(const std::string& name, const std::string& data, bool packed) {
  BuiltMember m{name, data};
  const Bytef* in = reinterpret_cast<const Bytef*>(data.data());
  m.crc32 = static_cast<uint32_t>(crc32(0, in, static_cast<uInt>(data.size())));
  if (packed) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    m.payload.resize(deflateBound(&z, data.size()));
    z.next_in = const_cast<Bytef*>(in);
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(&m.payload[0]);
    z.avail_out = static_cast<uInt>(m.payload.size());
    deflate(&z, Z_FINISH);
    m.payload.resize(z.total_out);
    deflateEnd(&z);
    m.method = 8;
  }
  m.compressed_size = static_cast<uint32_t>(m.payload.size());
  m.uncompressed_size = static_cast<uint32_t>(data.size());
  return m;
}

std::string BuildZip(const std::vector<BuiltMember>& members) {
  std::string out, directory;
  for (const BuiltMember& m : members) {
    std::string shared;  // local header and directory entry alike, from "version needed" on
    for (uint32_t v : {20u, uint32_t{m.flags}, uint32_t{m.method}, 0x5000u, 0x2667u}) Put(shared, v, 2);
    for (uint32_t v : {m.crc32, m.compressed_size, m.uncompressed_size}) Put(shared, v, 4);
    Put(shared, static_cast<uint32_t>(m.name.size()), 4);  // and no extra field
    Put(directory, 0x02014b50, 4);
    Put(directory, 20, 2);  // made by MS-DOS
    directory += shared + std::string(10, '\0');  // no comment, disk 0, no attributes
    Put(directory, static_cast<uint32_t>(out.size()), 4);
    directory += m.name;
    Put(out, 0x04034b50, 4);
    out += shared + m.name + m.payload;
  }
  const uint32_t directory_offset = static_cast<uint32_t>(out.size());
  out += directory;
  Put(out, 0x06054b50, 8);  // this disk and the directory's disk: 0
  Put(out, static_cast<uint32_t>(members.size() * 0x10001), 4);
  Put(out, static_cast<uint32_t>(directory.size()), 4);
  Put(out, directory_offset, 4);
  Put(out, 0, 2);
  return out;
}
