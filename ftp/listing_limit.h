// The listing text of one folder is capped: anything past 1,280,000 bytes is refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint64_t kListingLimit = 1280000;

// Adds count to total and appends the piece to the listing, unless the total is then
// above the limit: 0, and the piece is not appended (the listing keeps its whole pieces).
int AppendListingPiece(std::string& listing, uint64_t& total, const char* piece, size_t count);
