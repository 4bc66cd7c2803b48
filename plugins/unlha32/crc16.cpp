#include "plugins/unlha32/crc16.h"

namespace {

struct Crc16Table {
  uint16_t entry[256];
  Crc16Table() {
    for (unsigned i = 0; i < 256; ++i) {
      unsigned c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xA001u : c >> 1;
      entry[i] = static_cast<uint16_t>(c);
    }
  }
};

const Crc16Table kTable;

}  // namespace

uint16_t UpdateCrc16(uint16_t crc, const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) crc = static_cast<uint16_t>(kTable.entry[(crc ^ data[i]) & 0xFF] ^ (crc >> 8));
  return crc;
}
