// Fuzzes the LHA header reader: any bytes give entries or an error, and every entry lies
// inside the input. Inputs starting with 0xFF become a valid level-2 header (name and sizes
// from the input) damaged at one byte, to reach the extension-header paths quickly.
#include <cstdlib>

#include "plugins/unlha32/lha_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  if (size > 8 && data[0] == 0xFF) {
    LhaEntry e;
    e.method = (data[1] & 1) ? "-lhd-" : "-lh0-";
    e.name.assign(reinterpret_cast<const char*>(data + 8), data[2] % (size - 7));
    e.packed_size = e.original_size = data[3];
    e.attributes = data[4];
    bytes = BuildLevel2Header(e);
    bytes.resize(bytes.size() + data[3] + 1, 0);
    bytes[(static_cast<size_t>(data[5]) << 8 | data[6]) % bytes.size()] ^= data[7];
  }
  MemorySource source(bytes.data(), bytes.size());
  std::vector<LhaEntry> entries;
  std::string error;
  ReadLhaDirectory(source, entries, error);
  uint64_t previous_end = 0;
  for (const LhaEntry& e : entries) {
    if (e.data_offset > bytes.size() || e.packed_size > bytes.size() - e.data_offset) std::abort();
    if (e.header_offset < previous_end || e.EndOffset() <= e.header_offset) std::abort();
    if (!e.name.empty() && (e.name.front() == '/' || e.name.back() == '/')) std::abort();
    previous_end = e.EndOffset();
  }
  return 0;
}
