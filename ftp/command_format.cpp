#include "ftp/command_format.h"

bool HasLineBreak(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

int FormatCommandLine(std::string& out, std::string_view verb) {
  out.assign(verb);
  out += "\r\n";
  return 1;
}

int FormatCommandLine(std::string& out, std::string_view verb, std::string_view argument) {
  out.clear();
  if (HasLineBreak(verb) || HasLineBreak(argument)) return 0;
  out.reserve(verb.size() + argument.size() + 3);
  out.append(verb);
  out += ' ';
  out.append(argument);
  out += "\r\n";
  return 1;
}
