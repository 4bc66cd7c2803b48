#include "text/sjis.h"

#ifdef _WIN32
// text/lead_bytes_win.cpp: the lead bytes GetCPInfo reports for the ANSI code page.
LeadByteTable ReadActiveCodePageLeadBytes();
#else
static LeadByteTable ReadActiveCodePageLeadBytes() { return LeadBytesOfCodePage(932); }
#endif

namespace {

// Filled on first use, not at static initialisation: the program's and the plug-ins' own
// static constructors may already read text.
LeadByteTable& Table() {
  static LeadByteTable table = ReadActiveCodePageLeadBytes();
  return table;
}

}  // namespace

const LeadByteTable& ActiveLeadBytes() { return Table(); }

LeadByteTable LeadBytesOfCodePage(unsigned codePage) {
  LeadByteTable table{};
  if (codePage == 932)
    for (int c = 0; c < 256; ++c) table.lead[c] = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
  return table;
}

void UseLeadBytesForTesting(const LeadByteTable& table) { Table() = table; }


bool IsSingleByteChar(const char* text, size_t index) {
  const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
  if (t[index] >= 0x80) return false;
  size_t i = 0;
  // i < index, so t[i + 1] is at most t[index]: nothing past index is read.
  while (i < index) i += IsLeadByte(t[i]) && t[i + 1] != '\0' ? 2 : 1;
  return i == index;
}

size_t FindSingleByteChar(std::string_view text, char c, size_t from) {
  for (size_t i = from; i < text.size(); i += CharWidthAt(text, i)) {
    if (text[i] == c) return i;
  }
  return std::string_view::npos;
}

size_t FindLastSingleByteChar(std::string_view text, std::string_view chars) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); i += CharWidthAt(text, i)) {
    const bool ascii = static_cast<unsigned char>(text[i]) < 0x80;
    if (ascii && chars.find(text[i]) != std::string_view::npos) found = i;
  }
  return found;
}

std::vector<std::string> SplitAtSingleByteChar(std::string_view text, char c, bool keepEmpty) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = FindSingleByteChar(text, c, start);
    if (end == std::string_view::npos) end = text.size();
    if (keepEmpty || end > start) parts.emplace_back(text.substr(start, end - start));
    if (end == text.size()) break;
    start = end + 1;
  }
  return parts;
}
