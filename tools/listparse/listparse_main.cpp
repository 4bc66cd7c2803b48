// vako-listparse [--now YYYY-MM-DD] [--lag MINUTES] < listing
// Writes one line per accepted entry: kind (d or f), size text, date text, attributes
// text and name, separated by tabs, exactly as the remote list would show them (a machine
// listing's times in UTC, which the program shows in local time).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <iterator>
#include <string>

#include "ftp/listing_parser.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: vako-listparse [--now YYYY-MM-DD] [--lag MINUTES] < listing\n");
  return 2;
}

bool ParseDay(const char* text, ListingClock& clock) {
  int y, m, d;
  char rest;
  if (std::sscanf(text, "%d-%d-%d%c", &y, &m, &d, &rest) != 3) return false;
  if (m < 1 || m > 12 || d < 1 || d > 31) return false;
  clock.year = y;
  clock.month = m;
  return true;
}

bool ParseLag(const char* text, long long& lag) {
  char* end = nullptr;
  lag = std::strtoll(text, &end, 10);
  return end != text && *end == '\0' && lag >= -2147483647LL && lag <= 2147483647LL;
}

}  // namespace

int main(int argc, char** argv) {
  std::time_t t = std::time(nullptr);
  std::tm local = *std::localtime(&t);
  ListingClock clock;
  clock.year = local.tm_year + 1900;
  clock.month = local.tm_mon + 1;
  long long lag = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--now") && i + 1 < argc) {
      if (!ParseDay(argv[++i], clock)) return Usage();
    } else if (!std::strcmp(argv[i], "--lag") && i + 1 < argc) {
      if (!ParseLag(argv[++i], lag)) return Usage();
    } else {
      return Usage();
    }
  }
  std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  std::string out;
  for (const ListedEntry& e : ParseListing(text, clock)) {
    out += (e.entry.attributes & 0x10) ? 'd' : 'f';
    out += '\t' + RemoteSizeText(e.entry) + '\t' + RemoteDateText(e, lag) + '\t' +
           e.permissions + '\t' + e.entry.name + '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
