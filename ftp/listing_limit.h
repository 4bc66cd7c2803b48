// The listing text of one folder is capped only so that an endless listing cannot eat the
// memory: anything past 64 MiB is refused (folders of hundreds of thousands of entries fit).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint64_t kListingLimit = 64ull * 1024 * 1024;

// Adds count to total and appends the piece to the listing, unless the total is then
// above the limit: 0, and the piece is not appended (the listing keeps its whole pieces).
int AppendListingPiece(std::string& listing, uint64_t& total, const char* piece, size_t count,
                       uint64_t limit = kListingLimit);
