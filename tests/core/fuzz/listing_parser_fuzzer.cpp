// Any bytes a server may send as a listing (long or machine listing): no crash, and every
// accepted entry is one the local side can hold.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ftp/listing_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const ListingClock clock{2024, static_cast<int>(size % 12) + 1};
  long long lag = static_cast<long long>(size * 7919 % 20000) - 10000;
  for (const ListedEntry& e : ParseListing(text, clock)) {
    if (!IsSafeRemoteName(e.entry.name)) std::abort();
    if (e.entry.name.find_first_of("\r\n/") != std::string::npos) std::abort();
    std::string date = RemoteDateText(e, lag);
    if (date.empty() || RemoteSizeText(e.entry).empty()) std::abort();
  }
  return 0;
}
