#include "app/command_line.h"

#include <string_view>

#include "text/sjis.h"

static const size_t kArgumentRoom = 511;

std::vector<std::string> SplitCommandLine(const char* text) {
  std::vector<std::string> arguments;
  const std::string_view line(text);
  // The walk goes character by character, so i is always where a character begins.
  auto isSeparator = [&](size_t i) { return static_cast<unsigned char>(line[i]) <= 0x20; };

  size_t i = 0;
  for (;;) {
    while (i < line.size() && isSeparator(i)) ++i;
    if (i >= line.size()) break;
    std::string argument;
    const bool quoted = line[i] == '"';
    if (quoted) ++i;
    while (i < line.size()) {
      const size_t width = CharWidthAt(line, i);
      if (width == 1 && (quoted ? line[i] == '"' : isSeparator(i))) {
        ++i;  // the closing quote or the separator that ended it
        break;
      }
      for (size_t k = 0; k < width; ++k) {
        if (argument.size() < kArgumentRoom) argument.push_back(line[i + k]);
      }
      i += width;
    }
    arguments.push_back(argument);
  }
  return arguments;
}
