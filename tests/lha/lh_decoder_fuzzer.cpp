// Fuzzes the -lh5-/-lh6-/-lh7- decoder. The first byte picks the method and the mode: raw
// input as packed data, or input packed by our encoder and then damaged where the next bytes
// say (which reaches the deeper paths at once). The decoder never gives more than it was
// asked for, and gives an undamaged stream back exactly.
#include <cstdlib>
#include <string>

#include "plugins/unlha32/lh_decoder.h"
#include "plugins/unlha32/lh_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* methods[] = {"-lh5-", "-lh6-", "-lh7-", "-lh0-"};
  static const int dict_bits[] = {13, 15, 16, 13};
  const bool encoded = size >= 2 && (data[0] & 0x80);
  const size_t flips = encoded ? data[1] & 7 : 0, skip = encoded ? 2 + 2 * flips : 3;
  const int which = size ? data[0] & 3 : 0;
  if (size < skip || (encoded && which == 3)) return 0;
  const std::string expected(reinterpret_cast<const char*>(data + skip), size - skip);
  std::vector<uint8_t> packed(data + skip, data + size);
  const uint64_t original = encoded ? size - skip : (static_cast<uint64_t>(data[1]) << 8 | data[2]) * 16;
  if (encoded) {
    packed = EncodeLh(data + skip, size - skip, dict_bits[which]);
    for (size_t i = 0; i < flips && !packed.empty(); ++i)
      packed[(static_cast<size_t>(data[2 + 2 * i]) * 131) % packed.size()] ^= static_cast<uint8_t>(1u << (data[3 + 2 * i] & 7));
  }
  MemorySource source(packed.data(), packed.size());
  std::string out;
  uint16_t crc = 0;
  const std::string error = DecodeMember(methods[which], source, 0, packed.size(), original,
                                         [&out](const uint8_t* d, size_t n) {
                                           out.append(reinterpret_cast<const char*>(d), n);
                                           return true;
                                         },
                                         crc);
  if (out.size() > original) std::abort();
  if (encoded && (flips == 0 || packed.empty()) && (!error.empty() || out != expected)) std::abort();
  return 0;
}
