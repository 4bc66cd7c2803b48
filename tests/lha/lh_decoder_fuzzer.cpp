// Fuzzes the -lh5-/-lh6-/-lh7- decoder. The first byte picks the method and the mode: raw
// input as packed data, or input packed by our encoder and then damaged at the places the
// next bytes name (which reaches the deeper decoder paths at once). The decoder must never
// produce more than it was asked for, and must give back an undamaged stream exactly.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "plugins/unlha32/lh_decoder.h"
#include "plugins/unlha32/lh_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  static const char* methods[] = {"-lh5-", "-lh6-", "-lh7-", "-lh0-"};
  static const int dict_bits[] = {13, 15, 16, 13};
  int which = data[0] & 3;
  std::vector<uint8_t> packed;
  uint64_t original;
  bool damaged = false;
  std::string expected;
  if (data[0] & 0x80) {
    size_t flips = data[1] & 7;
    size_t skip = 2 + 2 * flips;
    if (size < skip || which == 3) return 0;
    expected.assign(reinterpret_cast<const char*>(data + skip), size - skip);
    packed = EncodeLh(data + skip, size - skip, dict_bits[which]);
    original = size - skip;
    for (size_t i = 0; i < flips && !packed.empty(); ++i) {
      size_t at = (static_cast<size_t>(data[2 + 2 * i]) * 131) % packed.size();
      packed[at] ^= static_cast<uint8_t>(1u << (data[3 + 2 * i] & 7));
      damaged = true;
    }
  } else {
    original = (static_cast<uint64_t>(data[1]) << 8 | data[2]) * 16;
    packed.assign(data + 3, data + size);
  }
  MemorySource source(packed.data(), packed.size());
  std::string out;
  uint16_t crc = 0;
  std::string error = DecodeMember(methods[which], source, 0, packed.size(), original,
                                   [&out](const uint8_t* d, size_t n) {
                                     out.append(reinterpret_cast<const char*>(d), n);
                                     return true;
                                   },
                                   crc);
  if (out.size() > original) std::abort();
  if ((data[0] & 0x80) && !damaged && (!error.empty() || out != expected)) std::abort();
  return 0;
}
