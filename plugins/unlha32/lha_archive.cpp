#include "plugins/unlha32/lha_archive.h"

#include <cstdio>

bool ReadLhaDirectory(ByteSource& source, std::vector<LhaEntry>& entries, std::string& error) {
  entries.clear();
  uint64_t offset = 0;
  for (;;) {
    LhaEntry entry;
    HeaderResult r = ReadLhaHeader(source, offset, entry, error);
    if (r == HeaderResult::kEnd) return true;
    if (r == HeaderResult::kError) return false;
    offset = entry.EndOffset();
    entries.push_back(std::move(entry));
  }
}

std::string FormatDosTime(uint32_t dos_time) {
  unsigned date = dos_time >> 16, time = dos_time & 0xFFFF;
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", 1980 + (date >> 9),
                (date >> 5) & 15, date & 31, time >> 11, (time >> 5) & 63, (time & 31) * 2);
  return text;
}
