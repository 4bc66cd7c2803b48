#include "ftp/listing_limit.h"

int AppendListingPiece(std::string& listing, uint64_t& total, const char* piece, size_t count, uint64_t limit) {
  total += count;
  if (total > limit) return 0;
  listing.append(piece, count);
  return 1;
}
