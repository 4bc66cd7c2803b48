#include "ftp/passive_reply.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits at pos, at most max; false when there are none or the value passes max.
bool ReadNumber(const std::string& text, size_t& pos, unsigned max, unsigned& value) {
  const size_t start = pos;
  value = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    value = value * 10 + static_cast<unsigned>(text[pos] - '0');
    if (value > max) return false;
    ++pos;
  }
  return pos > start;
}

bool HasCode(const std::string& reply, const char* code) { return reply.compare(0, 3, code) == 0; }

}  // namespace

bool ParseEpsvReply(const std::string& reply, uint16_t& port, HostAddress* named) {
  if (!HasCode(reply, "229")) return false;
  size_t pos = reply.find('(', 3);
  if (pos == std::string::npos || pos + 1 >= reply.size()) return false;
  const char d = reply[++pos];
  if (d < 0x21 || d > 0x7E || IsDigit(d)) return false;
  // The network protocol and the address between the first three delimiters: both empty,
  // or 1 with an IPv4 and 2 with an IPv6 address.
  const size_t second = reply.find(d, pos + 1);
  const size_t third = second == std::string::npos ? second : reply.find(d, second + 1);
  if (third == std::string::npos) return false;
  const std::string protocol = reply.substr(pos + 1, second - pos - 1);
  const std::string text = reply.substr(second + 1, third - second - 1);
  HostAddress address;
  if (!protocol.empty() || !text.empty()) {
    if (!ParseAddressText(text, address) || protocol != (address.family == 4 ? "1" : "2")) return false;
  }
  pos = third + 1;
  unsigned value = 0;
  if (!ReadNumber(reply, pos, 65535, value) || value == 0) return false;
  if (pos >= reply.size() || reply[pos] != d) return false;
  port = static_cast<uint16_t>(value);
  if (named) *named = address;
  return true;
}

bool ParsePasvReply(const std::string& reply, unsigned char address[4], uint16_t& port) {
  if (!HasCode(reply, "227")) return false;
  for (size_t start = 3; start < reply.size(); ++start) {
    if (!IsDigit(reply[start]) || IsDigit(reply[start - 1])) continue;
    size_t pos = start;
    unsigned n[6];
    bool ok = true;
    for (int k = 0; k < 6 && ok; ++k) {
      if (k > 0) ok = pos < reply.size() && reply[pos++] == ',';
      ok = ok && ReadNumber(reply, pos, 255, n[k]);
    }
    if (!ok || (pos < reply.size() && IsDigit(reply[pos]))) continue;
    const unsigned value = n[4] * 256 + n[5];
    if (value == 0) return false;
    for (int k = 0; k < 4; ++k) address[k] = static_cast<unsigned char>(n[k]);
    port = static_cast<uint16_t>(value);
    return true;
  }
  return false;
}
