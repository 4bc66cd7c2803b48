// The rows of an LHA archive shown in the local list: the entry record the library fills
// for each member, and the row a member becomes.
#pragma once
#include <cstddef>
#include <cstdint>

#include "app/local_rows.h"

// The size of the entry record UnlhaFindFirst and UnlhaFindNext fill.
constexpr size_t kArchiveEntryRecordSize = 560;

// What the listing reads of one record: the uncompressed size, the stored MS-DOS date and
// time taken as they are (already local time), the stored name (at most 513 bytes, up to
// its zero), and the attribute bits the library reports for it.
LocalFileFacts ArchiveEntryFacts(const unsigned char* record, uint32_t attributes);

// The calendar fields of an MS-DOS date and time.
EntryDate DosDateOf(uint16_t date, uint16_t time);

// Member number n (0, 1, ...) as its row: key 3000 + n, the whole stored name, the class's
// icon and type text (never the shell's), size, date and attributes as for a file. False
// for a member named "." or "..", which is not shown.
bool ArchiveRowOf(const LocalFileFacts& facts, long n, const OptionsRecord& options, const TextCase& tc,
                  const RowWords& words, ListRow& row);
