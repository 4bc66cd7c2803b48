#include "plugins/unlha32/entry_record.h"

#include <cstring>

#include "text/sjis.h"

namespace {

void Put32At(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void Put16At(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

uint32_t Clamp32(uint64_t v) { return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(v); }

}  // namespace

int EntryAttributes(const LhaEntry& entry) {
  if (entry.IsFolder()) return kAttrFolder;
  return static_cast<int>(entry.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive));
}

void FillEntryRecord(const LhaEntry& entry, uint32_t dos_time, uint8_t* record) {
  std::memset(record, 0, kEntryRecordSize);
  Put32At(record + kRecordOriginalSize, Clamp32(entry.original_size));
  Put32At(record + kRecordPackedSize, Clamp32(entry.packed_size));
  Put32At(record + kRecordCrc, entry.crc);
  Put32At(record + kRecordOsType, entry.os_id);
  uint64_t ratio = entry.original_size == 0 ? 0 : entry.packed_size * 1000 / entry.original_size;
  Put16At(record + kRecordRatio, static_cast<uint16_t>(ratio > 0xFFFF ? 0xFFFF : ratio));
  Put16At(record + kRecordDate, static_cast<uint16_t>(dos_time >> 16));
  Put16At(record + kRecordTime, static_cast<uint16_t>(dos_time));
  // A name too long for the field is cut before a whole character.
  size_t length = 0;
  while (length < entry.name.size()) {
    size_t step = CharWidthAt(entry.name, length);
    if (length + step > kRecordNameSize - 1) break;
    length += step;
  }
  std::memcpy(record + kRecordName, entry.name.data(), length);
  int attributes = EntryAttributes(entry);
  const char letters[] = "rhsad";
  const int bits[] = {kAttrReadOnly, kAttrHidden, kAttrSystem, kAttrArchive, kAttrFolder};
  for (int i = 0; i < 5; ++i)
    record[kRecordAttribute + i] = static_cast<uint8_t>((attributes & bits[i]) ? letters[i] : '-');
  std::memcpy(record + kRecordMethod, entry.method.data(), entry.method.size() < 7 ? entry.method.size() : 7);
}
