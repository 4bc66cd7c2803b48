#include "zip/zip_builder.h"

#include <zlib.h>

namespace {

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::string RawDeflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(&out[0]);
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

}  // namespace

uint32_t Crc32Of(const std::string& data) {
  return static_cast<uint32_t>(
      crc32(crc32(0, Z_NULL, 0), reinterpret_cast<const Bytef*>(data.data()),
            static_cast<uInt>(data.size())));
}

BuiltMember& ZipBuilder::AddStored(const std::string& name, const std::string& data) {
  BuiltMember m;
  m.name = name;
  m.payload = data;
  m.crc32 = Crc32Of(data);
  m.compressed_size = m.uncompressed_size = static_cast<uint32_t>(data.size());
  members_.push_back(m);
  return members_.back();
}

BuiltMember& ZipBuilder::AddDeflated(const std::string& name, const std::string& data) {
  BuiltMember m;
  m.name = name;
  m.method = 8;
  m.payload = RawDeflate(data);
  m.crc32 = Crc32Of(data);
  m.compressed_size = static_cast<uint32_t>(m.payload.size());
  m.uncompressed_size = static_cast<uint32_t>(data.size());
  members_.push_back(m);
  return members_.back();
}

std::string ZipBuilder::Build() const {
  std::string out, directory;
  for (const BuiltMember& m : members_) {
    const uint32_t offset = static_cast<uint32_t>(out.size());
    Put32(out, 0x04034b50);
    Put16(out, 20);
    Put16(out, m.flags);
    Put16(out, m.method);
    Put16(out, m.dos_time);
    Put16(out, m.dos_date);
    Put32(out, m.crc32);
    Put32(out, m.compressed_size);
    Put32(out, m.uncompressed_size);
    Put16(out, static_cast<uint32_t>(m.name.size()));
    Put16(out, 0);
    out += m.name;
    out += m.payload;

    Put32(directory, 0x02014b50);
    Put16(directory, 20);  // made by MS-DOS
    Put16(directory, 20);
    Put16(directory, m.flags);
    Put16(directory, m.method);
    Put16(directory, m.dos_time);
    Put16(directory, m.dos_date);
    Put32(directory, m.crc32);
    Put32(directory, m.compressed_size);
    Put32(directory, m.uncompressed_size);
    Put16(directory, static_cast<uint32_t>(m.name.size()));
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0);
    Put32(directory, 0);
    Put32(directory, offset);
    directory += m.name;
  }
  const uint32_t directory_offset = static_cast<uint32_t>(out.size());
  out += directory;
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(members_.size()));
  Put16(out, static_cast<uint32_t>(members_.size()));
  Put32(out, static_cast<uint32_t>(directory.size()));
  Put32(out, directory_offset);
  Put16(out, 0);
  return out;
}
