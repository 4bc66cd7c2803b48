// bench_listing_parser LISTING-FILE [RUNS]: the native parser alone over a saved listing:
// lines to entries, entries to rows, rows sorted by name. Prints "<rows> <seconds>" for the
// best run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ftp/listing_parser.h"
#include "ftp/remote_rows.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_listing_parser LISTING-FILE [RUNS]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string listing = text.str();
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  double best = 1e9;
  size_t rows = 0;
  OptionsRecord options;
  RowWords words;
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    ListingClock clock;
    clock.year = 2026;
    clock.month = 12;
    std::vector<ListedEntry> entries = ParseListing(listing, clock);
    std::vector<ListRow> list;
    list.reserve(entries.size() + 1);
    list.push_back(RemoteParentRow(words));
    long n = 0;
    for (const ListedEntry& e : entries) list.push_back(RemoteRowOf(e, ++n, options, ShiftJisAsciiCase(), 0, words));
    SortListRows(list, kSortByName, false, ShiftJisAsciiCase());
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds < best) best = seconds;
    rows = list.size();
  }
  std::printf("%zu %.3f\n", rows, best);
  return 0;
}
