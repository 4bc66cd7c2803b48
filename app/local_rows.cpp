#include "app/local_rows.h"

#include "ftp/listing_parser.h"
#include "jobs/transfer_rules.h"

std::string LocalSizeText(uint32_t attributes, uint32_t sizeHigh, uint32_t sizeLow) {
  if (attributes & kFolderAttribute) return kFolderMarker;
  // Both halves: a file of 2 GiB or more must not come out negative or cut.
  uint64_t size = (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow;
  return std::to_string(size);
}

std::string LocalAttributesText(uint32_t attributes) {
  std::string text = "----";
  if (attributes & 0x20) text[0] = 'A';
  if (attributes & 0x02) text[1] = 'H';
  if (attributes & 0x04) text[2] = 'S';
  if (attributes & 0x01) text[3] = 'R';
  return text;
}

ListRow LocalParentRow(const OptionsRecord& options, const RowWords& words) {
  ListRow row;
  row.texts.column[0] = "..";
  row.texts.column[1] = kFolderMarker;
  row.texts.column[2] = words.folder;
  row.texts.column[3] = " ";
  row.texts.column[4] = " ";
  row.image = options.DetailExt == 1 ? 3 : ClassParentFolder;
  row.key = 0;
  return row;
}

RowTexts LocalFactTexts(const LocalFileFacts& facts) {
  RowTexts texts;
  texts.column[0] = facts.name;
  texts.column[1] = LocalSizeText(facts.attributes, facts.sizeHigh, facts.sizeLow);
  texts.column[3] = FormatDateText(facts.lastWrite);
  texts.column[4] = LocalAttributesText(facts.attributes);
  return texts;
}

ListRow LocalRowOf(const LocalFileFacts& facts, long n, const OptionsRecord& options, const TextCase& tc,
                   const RowWords& words) {
  ListRow row;
  const int entryClass = ClassifyEntry(facts.attributes, facts.name, options, tc);
  row.texts = LocalFactTexts(facts);
  row.texts.column[2] = options.DetailExt == 1 ? facts.shellTypeName
                                               : TypeTextOfClass(entryClass, words.file, words.folder);
  row.image = options.DetailIcon == 1 ? facts.systemIcon : entryClass;
  row.key = n;
  return row;
}
