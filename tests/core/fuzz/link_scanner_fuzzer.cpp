// Any bytes as an HTML file: the link scanner never crashes, finds the same links whether
// the bytes come whole or in pieces (the first byte sets the piece size), and keeps every
// link within the word room.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "linkcheck/link_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = data[0] % 16 + 1;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  LinkScanner whole;
  whole.Feed(bytes);
  LinkScanner pieces;
  for (size_t at = 0; at < bytes.size(); at += piece) pieces.Feed(bytes.substr(at, piece));
  const std::vector<FoundLink> a = whole.TakeLinks();
  const std::vector<FoundLink> b = pieces.TakeLinks();
  if (a.size() != b.size()) std::abort();
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].tagIndex != b[i].tagIndex || a[i].link != b[i].link) std::abort();
    if (a[i].link.size() > kWordRoom + 10) std::abort();  // "index.html" may follow a cut word
  }
  LinkOfValue(bytes);
  return 0;
}
