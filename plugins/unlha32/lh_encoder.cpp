#include "plugins/unlha32/lh_encoder.h"

#include <algorithm>
#include <queue>

namespace {

const int kLiteralCodes = 510;
const int kLengthCodes = 19;
const int kMaxCodeLength = 16;
const int kMinMatch = 3;
const int kMaxMatch = 256;
const size_t kBlockTokens = 32768;
const int kHashBits = 15;
const int kChainLimit = 256;

class BitWriter {
 public:
  void Put(int n, unsigned value) {
    for (int i = n - 1; i >= 0; --i) {
      acc_ = static_cast<uint8_t>((acc_ << 1) | ((value >> i) & 1));
      if (++count_ == 8) {
        out_.push_back(acc_);
        acc_ = 0;
        count_ = 0;
      }
    }
  }
  std::vector<uint8_t> Finish() {
    if (count_ > 0) out_.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
    count_ = 0;
    acc_ = 0;
    return std::move(out_);
  }

 private:
  std::vector<uint8_t> out_;
  uint8_t acc_ = 0;
  int count_ = 0;
};

// Huffman code lengths of at most kMaxCodeLength bits; frequencies are halved until the
// tree is shallow enough. Symbols with frequency 0 get length 0.
std::vector<uint8_t> MakeLengths(const std::vector<unsigned>& freq_in) {
  size_t n = freq_in.size();
  std::vector<unsigned> freq = freq_in;
  std::vector<uint8_t> lengths(n, 0);
  for (;;) {
    using Node = std::pair<uint64_t, int>;
    std::priority_queue<Node, std::vector<Node>, std::greater<Node>> heap;
    std::vector<int> parent(2 * n, -1);
    for (size_t s = 0; s < n; ++s)
      if (freq[s] > 0) heap.push({freq[s], static_cast<int>(s)});
    if (heap.size() < 2) return lengths;
    int next = static_cast<int>(n);
    while (heap.size() > 1) {
      Node a = heap.top();
      heap.pop();
      Node b = heap.top();
      heap.pop();
      parent[static_cast<size_t>(a.second)] = next;
      parent[static_cast<size_t>(b.second)] = next;
      heap.push({a.first + b.first, next});
      ++next;
    }
    int deepest = 0;
    for (size_t s = 0; s < n; ++s) {
      if (freq[s] == 0) {
        lengths[s] = 0;
        continue;
      }
      int depth = 0;
      for (int p = parent[s]; p != -1; p = parent[static_cast<size_t>(p)]) ++depth;
      lengths[s] = static_cast<uint8_t>(std::min(depth, 255));
      deepest = std::max(deepest, depth);
    }
    if (deepest <= kMaxCodeLength) return lengths;
    for (unsigned& f : freq)
      if (f > 0) f = (f + 1) / 2;
  }
}

std::vector<unsigned> MakeCodes(const std::vector<uint8_t>& lengths) {
  unsigned count[kMaxCodeLength + 2] = {};
  for (uint8_t l : lengths) count[l]++;
  count[0] = 0;
  unsigned start[kMaxCodeLength + 2] = {};
  for (int len = 1; len <= kMaxCodeLength; ++len) start[len + 1] = (start[len] + count[len]) << 1;
  std::vector<unsigned> codes(lengths.size(), 0);
  for (size_t s = 0; s < lengths.size(); ++s)
    if (lengths[s] != 0) codes[s] = start[lengths[s]]++;
  return codes;
}

int UsedSymbols(const std::vector<unsigned>& freq, int& only) {
  int used = 0;
  only = 0;
  for (size_t s = 0; s < freq.size(); ++s)
    if (freq[s] > 0) {
      ++used;
      only = static_cast<int>(s);
    }
  return used;
}

void WritePtLengths(BitWriter& out, const std::vector<uint8_t>& lengths, int count_bits,
                    int special) {
  int n = static_cast<int>(lengths.size());
  while (n > 0 && lengths[static_cast<size_t>(n - 1)] == 0) --n;
  out.Put(count_bits, static_cast<unsigned>(n));
  int i = 0;
  while (i < n) {
    int k = lengths[static_cast<size_t>(i++)];
    if (k <= 6)
      out.Put(3, static_cast<unsigned>(k));
    else
      out.Put(k - 3, (1u << (k - 3)) - 2);
    if (i == special) {
      while (i < 6 && i < static_cast<int>(lengths.size()) && lengths[static_cast<size_t>(i)] == 0) ++i;
      out.Put(2, static_cast<unsigned>((i - 3) & 3));
    }
  }
}

struct Token {
  uint16_t code;      // literal byte or 256 + length - 3
  uint16_t distance;  // distance - 1, for lengths
};

class BlockWriter {
 public:
  BlockWriter(BitWriter& out, int dict_bits)
      : out_(out), position_codes_(dict_bits + 1), position_bits_(dict_bits >= 15 ? 5 : 4) {}

  void Write(const std::vector<Token>& tokens) {
    std::vector<unsigned> c_freq(kLiteralCodes, 0), p_freq(static_cast<size_t>(position_codes_), 0);
    for (const Token& t : tokens) {
      c_freq[t.code]++;
      if (t.code >= 256) p_freq[static_cast<size_t>(BitLength(t.distance))]++;
    }
    out_.Put(16, static_cast<unsigned>(tokens.size()));
    int c_only = 0;
    std::vector<uint8_t> c_len(kLiteralCodes, 0);
    if (UsedSymbols(c_freq, c_only) >= 2) {
      c_len = MakeLengths(c_freq);
      WriteLiteralLengths(c_len);
    } else {
      out_.Put(5, 0);
      out_.Put(5, 0);
      out_.Put(9, 0);
      out_.Put(9, static_cast<unsigned>(c_only));
    }
    std::vector<unsigned> c_code = MakeCodes(c_len);
    int p_only = 0;
    std::vector<uint8_t> p_len(static_cast<size_t>(position_codes_), 0);
    if (UsedSymbols(p_freq, p_only) >= 2) {
      p_len = MakeLengths(p_freq);
      WritePtLengths(out_, p_len, position_bits_, -1);
    } else {
      out_.Put(position_bits_, 0);
      out_.Put(position_bits_, static_cast<unsigned>(p_only));
    }
    std::vector<unsigned> p_code = MakeCodes(p_len);
    for (const Token& t : tokens) {
      out_.Put(c_len[t.code], c_code[t.code]);
      if (t.code < 256) continue;
      int bits = BitLength(t.distance);
      out_.Put(p_len[static_cast<size_t>(bits)], p_code[static_cast<size_t>(bits)]);
      if (bits > 1) out_.Put(bits - 1, t.distance & ((1u << (bits - 1)) - 1));
    }
  }

 private:
  static int BitLength(unsigned v) {
    int bits = 0;
    while (v) {
      v >>= 1;
      ++bits;
    }
    return bits;
  }

  // The literal-code lengths, themselves coded with the code-length code (runs of zeros as
  // the symbols 0, 1 and 2).
  void WriteLiteralLengths(const std::vector<uint8_t>& c_len) {
    int n = kLiteralCodes;
    while (n > 0 && c_len[static_cast<size_t>(n - 1)] == 0) --n;
    struct Item { int symbol; int extra_bits; unsigned extra; };
    std::vector<Item> items;
    int i = 0;
    while (i < n) {
      int k = c_len[static_cast<size_t>(i++)];
      if (k != 0) {
        items.push_back({k + 2, 0, 0});
        continue;
      }
      int count = 1;
      while (i < n && c_len[static_cast<size_t>(i)] == 0) {
        ++i;
        ++count;
      }
      if (count <= 2) {
        for (int z = 0; z < count; ++z) items.push_back({0, 0, 0});
      } else if (count <= 18) {
        items.push_back({1, 4, static_cast<unsigned>(count - 3)});
      } else if (count == 19) {
        items.push_back({0, 0, 0});
        items.push_back({1, 4, 15});
      } else {
        items.push_back({2, 9, static_cast<unsigned>(count - 20)});
      }
    }
    std::vector<unsigned> t_freq(kLengthCodes, 0);
    for (const Item& it : items) t_freq[static_cast<size_t>(it.symbol)]++;
    int t_only = 0;
    std::vector<uint8_t> t_len(kLengthCodes, 0);
    if (UsedSymbols(t_freq, t_only) >= 2) {
      t_len = MakeLengths(t_freq);
      WritePtLengths(out_, t_len, 5, 3);
    } else {
      out_.Put(5, 0);
      out_.Put(5, static_cast<unsigned>(t_only));
    }
    std::vector<unsigned> t_code = MakeCodes(t_len);
    out_.Put(9, static_cast<unsigned>(n));
    for (const Item& it : items) {
      out_.Put(t_len[static_cast<size_t>(it.symbol)], t_code[static_cast<size_t>(it.symbol)]);
      if (it.extra_bits) out_.Put(it.extra_bits, it.extra);
    }
  }

  BitWriter& out_;
  int position_codes_;
  int position_bits_;
};

// Hash chains over the input; positions further back than the dictionary are not followed.
class Matcher {
 public:
  Matcher(const uint8_t* data, size_t size, int dict_bits)
      : data_(data), size_(size), window_(size_t(1) << dict_bits),
        head_(size_t(1) << kHashBits, kNone), prev_(window_, kNone) {}

  void Insert(size_t pos) {
    if (pos + kMinMatch > size_) return;
    size_t h = Hash(pos);
    prev_[pos & (window_ - 1)] = head_[h];
    head_[h] = pos;
  }

  // The longest match at POS (length 0 when none of at least kMinMatch bytes).
  void Find(size_t pos, int& length, size_t& distance) const {
    length = 0;
    distance = 0;
    if (pos + kMinMatch > size_) return;
    size_t limit = std::min<size_t>(kMaxMatch, size_ - pos);
    size_t max_back = window_ - 1;
    size_t cand = head_[Hash(pos)];
    for (int chain = 0; cand != kNone && chain < kChainLimit; ++chain) {
      if (cand >= pos || pos - cand > max_back) break;
      if (data_[cand + static_cast<size_t>(length)] == data_[pos + static_cast<size_t>(length)]) {
        size_t k = 0;
        while (k < limit && data_[cand + k] == data_[pos + k]) ++k;
        if (static_cast<int>(k) > length) {
          length = static_cast<int>(k);
          distance = pos - cand;
          if (k == limit) break;
        }
      }
      size_t next = prev_[cand & (window_ - 1)];
      if (next == kNone || next >= cand) break;
      cand = next;
    }
    if (length < kMinMatch) length = 0;
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  size_t Hash(size_t pos) const {
    uint32_t v = (static_cast<uint32_t>(data_[pos]) << 16) | (static_cast<uint32_t>(data_[pos + 1]) << 8) |
                 data_[pos + 2];
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  const uint8_t* data_;
  size_t size_;
  size_t window_;
  std::vector<size_t> head_;
  std::vector<size_t> prev_;
};

}  // namespace

std::vector<uint8_t> EncodeLh(const uint8_t* data, size_t size, int dict_bits) {
  BitWriter out;
  BlockWriter blocks(out, dict_bits);
  Matcher matcher(data, size, dict_bits);
  std::vector<Token> tokens;
  tokens.reserve(kBlockTokens);
  auto emit = [&](Token t) {
    tokens.push_back(t);
    if (tokens.size() == kBlockTokens) {
      blocks.Write(tokens);
      tokens.clear();
    }
  };
  size_t pos = 0;
  int length = 0;
  size_t distance = 0;
  matcher.Find(pos, length, distance);
  while (pos < size) {
    matcher.Insert(pos);
    int next_length = 0;
    size_t next_distance = 0;
    if (length > 0 && length < kMaxMatch && pos + 1 < size)
      matcher.Find(pos + 1, next_length, next_distance);
    if (length == 0 || next_length > length) {
      // A literal, possibly to take the longer match one byte later.
      emit({data[pos], 0});
      ++pos;
      if (length == 0 && pos < size) {
        matcher.Find(pos, length, distance);
      } else {
        length = next_length;
        distance = next_distance;
      }
      continue;
    }
    emit({static_cast<uint16_t>(256 + length - kMinMatch), static_cast<uint16_t>(distance - 1)});
    for (int k = 1; k < length; ++k) matcher.Insert(pos + static_cast<size_t>(k));
    pos += static_cast<size_t>(length);
    if (pos < size) matcher.Find(pos, length, distance);
  }
  if (!tokens.empty()) blocks.Write(tokens);
  return out.Finish();
}
