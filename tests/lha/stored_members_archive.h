// An LHA archive of stored members, each holding "data", under names kept exactly as given
// (hostile ones included), ended by the zero byte.
#pragma once
#include <string>
#include <vector>

#include "plugins/unlha32/crc16.h"
#include "plugins/unlha32/lha_header.h"

inline std::string StoredMembersArchive(const std::vector<std::string>& names) {
  std::string archive;
  for (const std::string& name : names) {
    LhaEntry e;
    e.method = "-lh0-";
    e.name = name;
    e.packed_size = e.original_size = 4;
    e.crc = UpdateCrc16(0, reinterpret_cast<const uint8_t*>("data"), 4);
    const std::vector<uint8_t> h = BuildLevel2Header(e);
    archive += std::string(h.begin(), h.end()) + "data";
  }
  return archive + '\0';
}
