#include "archive/archive_rows.h"

#include "jobs/transfer_rules.h"

namespace {

uint32_t Little(const unsigned char* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

constexpr size_t kSizeOffset = 0, kDateOffset = 22, kTimeOffset = 24, kNameOffset = 26, kNameRoom = 513;

}  // namespace

EntryDate DosDateOf(uint16_t date, uint16_t time) {
  EntryDate d;
  d.year = 1980 + (date >> 9);
  d.month = (date >> 5) & 15;
  d.day = date & 31;
  d.hour = time >> 11;
  d.minute = (time >> 5) & 63;
  return d;
}

LocalFileFacts ArchiveEntryFacts(const unsigned char* record, uint32_t attributes) {
  LocalFileFacts facts;
  facts.attributes = attributes;
  facts.sizeLow = Little(record + kSizeOffset, 4);
  facts.lastWrite = DosDateOf(static_cast<uint16_t>(Little(record + kDateOffset, 2)),
                              static_cast<uint16_t>(Little(record + kTimeOffset, 2)));
  const char* name = reinterpret_cast<const char*>(record + kNameOffset);
  size_t length = 0;
  while (length < kNameRoom && name[length]) ++length;
  facts.name.assign(name, length);
  return facts;
}

bool ArchiveRowOf(const LocalFileFacts& facts, long n, const OptionsRecord& options, const TextCase& tc,
                  const RowWords& words, ListRow& row) {
  if (facts.name == "." || facts.name == "..") return false;
  const int entryClass = ClassifyEntry(facts.attributes, facts.name, options, tc);
  row = ListRow();
  row.texts.column[0] = facts.name;
  row.texts.column[1] = LocalSizeText(facts.attributes, facts.sizeHigh, facts.sizeLow);
  row.texts.column[2] = TypeTextOfClass(entryClass, words.file, words.folder);
  row.texts.column[3] = FormatDateText(facts.lastWrite);
  row.texts.column[4] = LocalAttributesText(facts.attributes);
  row.image = entryClass;
  row.key = 3000 + n;
  return true;
}
