// vako-nkf OPTION [--zenkaku-kana] < in > out
// Converts Japanese text the way the program's nkf32.dll does, for tests and for checking
// a file by hand. OPTION is -s, -e or -j; --zenkaku-kana widens half-width katakana first.
// Exit status: 0 converted, 1 bad arguments or I/O error, 2 text it cannot convert (UTF-8).
#include <cstdio>
#include <cstring>
#include <string>

#include "plugins/nkf32/kanji_converter.h"

int main(int argc, char** argv) {
  nkf::OutputCode code;
  bool widen = argc == 3 && std::strcmp(argv[2], "--zenkaku-kana") == 0;
  if ((argc != 2 && !widen) || std::strlen(argv[1]) != 2 || argv[1][0] != '-' ||
      !std::strchr("sej", argv[1][1]) || !nkf::ParseOutputOption(argv[1], &code)) {
    std::fprintf(stderr, "usage: vako-nkf -s|-e|-j [--zenkaku-kana] < input > output\n");
    return 1;
  }
  std::string input;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) input.append(chunk, got);
  if (std::ferror(stdin)) {
    std::perror("vako-nkf: read");
    return 1;
  }
  if (widen) input = nkf::WidenHalfwidthKana(input);
  std::string output;
  if (!nkf::ConvertKanjiText(input, code, &output)) {
    std::fprintf(stderr, "vako-nkf: the input is UTF-8 or holds bytes of no Japanese code; it is not converted\n");
    return 2;
  }
  if (std::fwrite(output.data(), 1, output.size(), stdout) != output.size() || std::fflush(stdout) != 0) {
    std::perror("vako-nkf: write");
    return 1;
  }
  return 0;
}
