// The rows of the local file list: what one file or folder shows in each column.
#pragma once
#include <cstdint>
#include <string>

#include "app/list_row.h"
#include "app/text_case.h"
#include "config/options.h"
#include "ftp/remote_entry.h"

// What the listing knows of one item of the current folder.
struct LocalFileFacts {
  uint32_t attributes = 0;  // 0x01 read-only, 0x02 hidden, 0x04 system, 0x10 folder, 0x20 archive
  uint32_t sizeHigh = 0, sizeLow = 0;
  EntryDate lastWrite;        // in local time
  std::string name;           // the file-system name
  std::string shellTypeName;  // shown in the Types column with "DetailExt" 1
  int systemIcon = 0;         // the row's icon with "DetailIcon" 1
};

// The texts of the string table the rows use.
struct RowWords {
  std::string file = "File";      // Types of an "other" file
  std::string folder = "Folder";  // Types of a folder
};

// The Size text: three blanks for a folder, else the whole 64-bit size in decimal.
std::string LocalSizeText(uint32_t attributes, uint32_t sizeHigh, uint32_t sizeLow);

// Four characters, A H S R where the archive, hidden, system and read-only bits are set,
// '-' where they are clear.
std::string LocalAttributesText(uint32_t attributes);

// The texts of an item without its Types column (empty): what a job compares, without
// matching the name against the type lists.
RowTexts LocalFactTexts(const LocalFileFacts& facts);

// The parent row "..", always first, key 0.
ListRow LocalParentRow(const OptionsRecord& options, const RowWords& words);

// Item number n (1, 2, ...) of the folder, key n.
ListRow LocalRowOf(const LocalFileFacts& facts, long n, const OptionsRecord& options, const TextCase& tc,
                   const RowWords& words);
