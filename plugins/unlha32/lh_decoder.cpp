#include "plugins/unlha32/lh_decoder.h"

#include <algorithm>
#include <vector>

#include "plugins/unlha32/crc16.h"

namespace {

const int kMaxCodeLength = 16;
const int kLiteralCodes = 510;  // 256 literals and the lengths 3..256
const int kLengthCodes = 19;    // codes that describe the literal-code lengths
const int kThreshold = 3;

// Reads bits most significant first from a window of the source, in chunks.
class BitReader {
 public:
  BitReader(ByteSource& source, uint64_t offset, uint64_t size)
      : source_(source), next_(offset), left_(size) {}

  // The next 16 bits without consuming them; bits past the end read as zero.
  unsigned Peek16() {
    Fill();
    return static_cast<unsigned>(bits_ >> (count_ - 16)) & 0xFFFF;
  }
  void Skip(int n) {
    Fill();
    count_ -= n;
    consumed_ += static_cast<uint64_t>(n);
  }
  unsigned Get(int n) {
    if (n == 0) return 0;
    unsigned v = Peek16() >> (16 - n);
    Skip(n);
    return v;
  }
  // True once more bits were consumed than the data holds.
  bool Overrun() const { return consumed_ > total_bits(); }
  bool ReadFailed() const { return read_failed_; }

 private:
  uint64_t total_bits() const { return fed_bits_ + left_ * 8; }
  void Fill() {
    while (count_ <= 40) {
      if (pos_ == chunk_.size()) Refill();
      uint8_t byte = 0;
      if (pos_ < chunk_.size()) {
        byte = chunk_[pos_++];
        fed_bits_ += 8;
      }
      bits_ = (bits_ << 8) | byte;
      count_ += 8;
    }
  }
  void Refill() {
    chunk_.clear();
    pos_ = 0;
    if (left_ == 0) return;
    size_t n = static_cast<size_t>(std::min<uint64_t>(left_, 65536));
    chunk_.resize(n);
    if (!source_.ReadAt(next_, chunk_.data(), n)) {
      read_failed_ = true;
      chunk_.clear();
      left_ = 0;
      return;
    }
    next_ += n;
    left_ -= n;
  }

  ByteSource& source_;
  uint64_t next_;
  uint64_t left_;
  std::vector<uint8_t> chunk_;
  size_t pos_ = 0;
  uint64_t bits_ = 0;
  int count_ = 0;
  uint64_t fed_bits_ = 0;
  uint64_t consumed_ = 0;
  bool read_failed_ = false;
};

// A canonical Huffman code (shorter codes first, equal lengths in symbol order) with a lookup
// table for short codes and a counting walk for the rest. A code with one symbol and no bits
// is the "single value" form of the format.
class HuffmanDecoder {
 public:
  // False when the lengths over-subscribe the code space.
  bool Build(const uint8_t* lengths, int symbols) {
    single_ = -1;
    std::fill(count_, count_ + kMaxCodeLength + 1, 0);
    for (int s = 0; s < symbols; ++s) count_[lengths[s]]++;
    count_[0] = 0;
    int left = 1;
    for (int len = 1; len <= kMaxCodeLength; ++len) {
      left <<= 1;
      left -= count_[len];
      if (left < 0) return false;
    }
    int offsets[kMaxCodeLength + 2];
    offsets[1] = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len) offsets[len + 1] = offsets[len] + count_[len];
    symbol_.assign(static_cast<size_t>(offsets[kMaxCodeLength + 1]), 0);
    for (int s = 0; s < symbols; ++s)
      if (lengths[s] != 0) symbol_[static_cast<size_t>(offsets[lengths[s]]++)] = static_cast<uint16_t>(s);
    // Fast table: entry = symbol << 5 | length, 0 for "walk".
    std::fill(table_, table_ + (1 << kTableBits), 0);
    unsigned code = 0;
    size_t index = 0;
    for (int len = 1; len <= kTableBits; ++len) {
      for (int k = 0; k < count_[len]; ++k, ++code, ++index) {
        unsigned first = code << (kTableBits - len);
        unsigned span = 1u << (kTableBits - len);
        for (unsigned j = 0; j < span; ++j)
          table_[first + j] = static_cast<uint32_t>((symbol_[index] << 5) | static_cast<unsigned>(len));
      }
      code <<= 1;
    }
    return true;
  }
  void SetSingle(int symbol) { single_ = symbol; }

  // The next symbol, or -1 for a code that no symbol has.
  int Decode(BitReader& in) const {
    if (single_ >= 0) return single_;
    unsigned peek = in.Peek16();
    uint32_t e = table_[peek >> (16 - kTableBits)];
    if (e != 0) {
      in.Skip(static_cast<int>(e & 31));
      return static_cast<int>(e >> 5);
    }
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len) {
      code |= static_cast<int>((peek >> (16 - len)) & 1);
      int count = count_[len];
      if (code - first < count) {
        in.Skip(len);
        return symbol_[static_cast<size_t>(index + (code - first))];
      }
      index += count;
      first += count;
      first <<= 1;
      code <<= 1;
    }
    return -1;
  }

 private:
  static const int kTableBits = 10;
  int count_[kMaxCodeLength + 1] = {};
  std::vector<uint16_t> symbol_;
  uint32_t table_[1 << kTableBits] = {};
  int single_ = -1;
};

class LhDecoder {
 public:
  LhDecoder(BitReader& in, int dict_bits, int position_bits)
      : in_(in), position_codes_(dict_bits + 1), position_bits_(position_bits) {}

  // The next literal-or-length code, or -1 on corrupt data.
  int NextCode() {
    if (block_left_ == 0) {
      unsigned size = in_.Get(16);
      block_left_ = size == 0 ? 65536 : size;
      if (!ReadLengthCodes(kLengthCodes, 5, 3) || !ReadLiteralCodes() ||
          !ReadPositionCodes())
        return -1;
    }
    --block_left_;
    return literal_.Decode(in_);
  }

  // The distance back (1-based), or 0 on corrupt data.
  unsigned NextDistance() {
    int j = position_.Decode(in_);
    if (j < 0) return 0;
    unsigned d = static_cast<unsigned>(j);
    if (j > 1) d = (1u << (j - 1)) + in_.Get(j - 1);
    return d + 1;
  }

 private:
  // Lengths of the code-length code (and, with SPECIAL -1, the position code): 3-bit values,
  // 7 continued by a run of 1 bits; after SPECIAL entries a 2-bit count of zero lengths.
  bool ReadPtLengths(int symbols, int count_bits, int special, HuffmanDecoder& into) {
    uint8_t lengths[32] = {};
    int n = static_cast<int>(in_.Get(count_bits));
    if (n == 0) {
      int value = static_cast<int>(in_.Get(count_bits));
      if (value >= symbols) return false;
      into.SetSingle(value);
      return true;
    }
    if (n > symbols) return false;
    int i = 0;
    while (i < n) {
      unsigned peek = in_.Peek16();
      int c = static_cast<int>(peek >> 13);
      if (c == 7) {
        unsigned mask = 1u << 12;
        while (peek & mask) {
          mask >>= 1;
          ++c;
          if (c > kMaxCodeLength) return false;
        }
      }
      in_.Skip(c < 7 ? 3 : c - 3);
      lengths[i++] = static_cast<uint8_t>(c);
      if (i == special) {
        int zeros = static_cast<int>(in_.Get(2));
        while (zeros-- > 0 && i < n) lengths[i++] = 0;
      }
    }
    return into.Build(lengths, symbols);
  }
  bool ReadLengthCodes(int symbols, int bits, int special) {
    return ReadPtLengths(symbols, bits, special, pt_);
  }
  bool ReadPositionCodes() { return ReadPtLengths(position_codes_, position_bits_, -1, position_); }

  bool ReadLiteralCodes() {
    uint8_t lengths[kLiteralCodes] = {};
    int n = static_cast<int>(in_.Get(9));
    if (n == 0) {
      int value = static_cast<int>(in_.Get(9));
      if (value >= kLiteralCodes) return false;
      literal_.SetSingle(value);
      return true;
    }
    if (n > kLiteralCodes) return false;
    int i = 0;
    while (i < n) {
      int c = pt_.Decode(in_);
      if (c < 0) return false;
      if (c <= 2) {
        int zeros = c == 0 ? 1 : c == 1 ? static_cast<int>(in_.Get(4)) + 3
                                         : static_cast<int>(in_.Get(9)) + 20;
        if (zeros > n - i) return false;
        while (zeros-- > 0) lengths[i++] = 0;
      } else {
        if (c - 2 > kMaxCodeLength) return false;
        lengths[i++] = static_cast<uint8_t>(c - 2);
      }
    }
    return literal_.Build(lengths, kLiteralCodes);
  }

  BitReader& in_;
  int position_codes_;
  int position_bits_;
  unsigned block_left_ = 0;
  HuffmanDecoder pt_, literal_, position_;
};

std::string DecodeStored(ByteSource& source, uint64_t offset, uint64_t packed,
                         uint64_t original, const ByteSink& sink, uint16_t& crc) {
  if (packed != original) return "stored size mismatch";
  std::vector<uint8_t> chunk;
  uint64_t done = 0;
  while (done < original) {
    size_t n = static_cast<size_t>(std::min<uint64_t>(original - done, 65536));
    chunk.resize(n);
    if (!source.ReadAt(offset + done, chunk.data(), n)) return "read error";
    crc = UpdateCrc16(crc, chunk.data(), n);
    if (!sink(chunk.data(), n)) return "write error";
    done += n;
  }
  return "";
}

std::string DecodeHuffman(int dict_bits, int position_bits, ByteSource& source,
                          uint64_t offset, uint64_t packed, uint64_t original,
                          const ByteSink& sink, uint16_t& crc) {
  const size_t window_size = size_t(1) << dict_bits;
  std::vector<uint8_t> window(window_size);
  const size_t mask = window_size - 1;
  size_t at = 0;          // next write position in the window
  size_t flushed = 0;     // window position up to which bytes went to the sink
  uint64_t produced = 0;  // bytes decoded so far
  BitReader in(source, offset, packed);
  LhDecoder decoder(in, dict_bits, position_bits);
  auto flush = [&]() -> bool {
    size_t n = at - flushed;
    if (n == 0) return true;
    crc = UpdateCrc16(crc, window.data() + flushed, n);
    bool ok = sink(window.data() + flushed, n);
    flushed = at == window_size ? 0 : at;
    if (at == window_size) at = 0;
    return ok;
  };
  while (produced < original) {
    int c = decoder.NextCode();
    if (c < 0 || in.Overrun()) return in.ReadFailed() ? "read error" : "corrupt data";
    if (c < 256) {
      window[at++] = static_cast<uint8_t>(c);
      ++produced;
      if (at == window_size && !flush()) return "write error";
      continue;
    }
    uint64_t length = static_cast<uint64_t>(c - 256 + kThreshold);
    unsigned distance = decoder.NextDistance();
    if (distance == 0 || distance > produced || distance > window_size || in.Overrun())
      return in.ReadFailed() ? "read error" : "corrupt data";
    if (length > original - produced) return "corrupt data";
    size_t from = (at - distance) & mask;
    for (uint64_t k = 0; k < length; ++k) {
      window[at++] = window[from];
      from = (from + 1) & mask;
      if (at == window_size && !flush()) return "write error";
    }
    produced += length;
  }
  if (!flush()) return "write error";
  return "";
}

}  // namespace

bool CanDecodeMethod(const std::string& method) {
  return method == "-lh0-" || method == "-lh5-" || method == "-lh6-" || method == "-lh7-" ||
         method == "-lhd-";
}

std::string DecodeMember(const std::string& method, ByteSource& source, uint64_t offset,
                         uint64_t packed, uint64_t original, const ByteSink& sink,
                         uint16_t& crc) {
  crc = 0;
  if (method == "-lh0-") return DecodeStored(source, offset, packed, original, sink, crc);
  if (method == "-lh5-") return DecodeHuffman(13, 4, source, offset, packed, original, sink, crc);
  if (method == "-lh6-") return DecodeHuffman(15, 5, source, offset, packed, original, sink, crc);
  if (method == "-lh7-") return DecodeHuffman(16, 5, source, offset, packed, original, sink, crc);
  if (method == "-lhd-") return original == 0 ? "" : "folder with data";
  return "unsupported method " + method;
}
