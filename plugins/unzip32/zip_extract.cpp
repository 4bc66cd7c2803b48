#include "plugins/unzip32/zip_extract.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace {

const size_t kChunk = 64 * 1024;

// zlib's stream with its end call tied to scope.
class RawInflater {
 public:
  RawInflater() { ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
  ~RawInflater() {
    if (ok_) inflateEnd(&stream_);
  }
  RawInflater(const RawInflater&) = delete;
  RawInflater& operator=(const RawInflater&) = delete;
  bool ok() const { return ok_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

// Counts, checksums and writes what the member unpacks to, refusing more than recorded
// so a damaged or hostile member cannot fill the disk beyond its stated size.
class CheckedWriter {
 public:
  CheckedWriter(const ZipEntry& entry, ZipOutputFile& out) : entry_(entry), out_(out) {}
  bool Put(const unsigned char* data, size_t size, std::string& error) {
    if (size > entry_.uncompressed_size - written_) {
      error = "data larger than recorded";
      return false;
    }
    if (!out_.Write(data, size)) {
      error = "cannot write the file";
      return false;
    }
    // zlib's crc32 takes a 32-bit length on every target.
    while (size > 0) {
      const uInt piece = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
      crc_ = crc32(crc_, data, piece);
      data += piece;
      size -= piece;
      written_ += piece;
    }
    return true;
  }
  bool Check(std::string& error) const {
    if (written_ != entry_.uncompressed_size) {
      error = "data shorter than recorded";
      return false;
    }
    if (crc_ != entry_.crc32) {
      error = "CRC error";
      return false;
    }
    return true;
  }

 private:
  const ZipEntry& entry_;
  ZipOutputFile& out_;
  uint64_t written_ = 0;
  uLong crc_ = crc32(0, Z_NULL, 0);
};

bool CopyStored(ZipByteSource& source, const ZipEntry& entry, uint64_t at,
                CheckedWriter& writer, std::string& error) {
  std::vector<unsigned char> buffer(kChunk);
  uint64_t left = entry.compressed_size;
  while (left > 0) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
    if (!source.ReadAt(at, buffer.data(), n)) {
      error = "cannot read the archive";
      return false;
    }
    if (!writer.Put(buffer.data(), n, error)) return false;
    at += n;
    left -= n;
  }
  return true;
}

bool Inflate(ZipByteSource& source, const ZipEntry& entry, uint64_t at, CheckedWriter& writer,
             std::string& error) {
  RawInflater inflater;
  if (!inflater.ok()) {
    error = "out of memory";
    return false;
  }
  z_stream& z = inflater.stream();
  std::vector<unsigned char> in(kChunk), out(kChunk);
  uint64_t left = entry.compressed_size;
  for (;;) {
    if (z.avail_in == 0 && left > 0) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
      if (!source.ReadAt(at, in.data(), n)) {
        error = "cannot read the archive";
        return false;
      }
      at += n;
      left -= n;
      z.next_in = in.data();
      z.avail_in = static_cast<uInt>(n);
    }
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&z, Z_NO_FLUSH);
    const size_t produced = out.size() - z.avail_out;
    if (produced > 0 && !writer.Put(out.data(), produced, error)) return false;
    if (status == Z_STREAM_END) return true;
    if (status == Z_BUF_ERROR && z.avail_in == 0 && left == 0) {
      // No input left and the stream has not ended.
      error = "compressed data truncated";
      return false;
    }
    if (status != Z_OK && status != Z_BUF_ERROR) {
      error = status == Z_MEM_ERROR ? "out of memory" : "compressed data damaged";
      return false;
    }
  }
}

}  // namespace

bool CheckZipEntryData(ZipByteSource& source, const ZipEntry& entry, uint64_t& data_offset,
                       std::string& error) {
  if (entry.flags & kZipFlagEncrypted) {
    error = "encrypted members are not supported";
    return false;
  }
  if (entry.method != kZipStored && entry.method != kZipDeflated) {
    error = "compression method " + std::to_string(entry.method) + " is not supported";
    return false;
  }
  if (entry.method == kZipStored && entry.compressed_size != entry.uncompressed_size) {
    error = "stored sizes disagree";
    return false;
  }
  return LocateZipEntryData(source, entry, data_offset, error);
}

bool ExtractZipEntryData(ZipByteSource& source, const ZipEntry& entry, ZipOutputFile& out,
                         std::string& error) {
  uint64_t at = 0;
  if (!CheckZipEntryData(source, entry, at, error)) return false;
  CheckedWriter writer(entry, out);
  const bool ok = entry.method == kZipStored ? CopyStored(source, entry, at, writer, error)
                                             : Inflate(source, entry, at, writer, error);
  return ok && writer.Check(error);
}
