// The 560-byte entry record that UnlhaFindFirst and UnlhaFindNext fill, byte by byte, so the
// layout is the same for 32-bit and 64-bit callers.
#pragma once
#include <cstddef>
#include <cstdint>

#include "plugins/unlha32/lha_header.h"

const size_t kEntryRecordSize = 560;

// Offsets of the fields (little-endian numbers, zero-terminated texts).
enum EntryRecordOffset : size_t {
  kRecordOriginalSize = 0,    // 32 bits, 0xFFFFFFFF when larger
  kRecordPackedSize = 4,      // 32 bits, likewise
  kRecordCrc = 8,             // 32 bits, the member's CRC-16
  kRecordFlag = 12,           // 32 bits, 0
  kRecordOsType = 16,         // 32 bits, the header's OS id byte
  kRecordRatio = 20,          // 16 bits, packed size per mille of the original
  kRecordDate = 22,           // 16 bits, MS-DOS date (local time)
  kRecordTime = 24,           // 16 bits, MS-DOS time
  kRecordName = 26,           // 513 bytes: the stored name, folders separated by '/'
  kRecordNameSize = 513,
  kRecordAttribute = 542,     // 8 bytes: "rhsad" letters or '-' (read-only, hidden, system,
                              // archive, folder)
  kRecordMethod = 550,        // 8 bytes: the method, e.g. "-lh5-"
};

// Fills RECORD (kEntryRecordSize bytes) for ENTRY, with DOS_TIME as its local date and time.
void FillEntryRecord(const LhaEntry& entry, uint32_t dos_time, uint8_t* record);

// The attribute bits UnlhaGetAttribute reports: 1 read-only, 2 hidden, 4 system, 16 folder,
// 32 archive.
int EntryAttributes(const LhaEntry& entry);
