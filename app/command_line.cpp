#include "app/command_line.h"

#include <cstring>

#include "app/sjis.h"

static const size_t kArgumentRoom = 511;

std::vector<std::string> SplitCommandLine(const char* text) {
  std::vector<std::string> arguments;
  const size_t length = std::strlen(text);
  auto isSeparator = [&](size_t i) {
    return static_cast<unsigned char>(text[i]) <= 0x20 && IsSingleByteChar(text, i);
  };
  auto isQuote = [&](size_t i) { return text[i] == '"' && IsSingleByteChar(text, i); };

  size_t i = 0;
  for (;;) {
    while (i < length && isSeparator(i)) ++i;
    if (i >= length) break;
    std::string argument;
    auto keep = [&](char c) {
      if (argument.size() < kArgumentRoom) argument.push_back(c);
    };
    if (isQuote(i)) {
      ++i;
      while (i < length && !isQuote(i)) keep(text[i++]);
      if (i < length) ++i;  // the closing quote
    } else {
      while (i < length && !isSeparator(i)) keep(text[i++]);
      if (i < length) ++i;  // the separator that ended it
    }
    arguments.push_back(argument);
  }
  return arguments;
}
