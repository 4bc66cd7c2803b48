#include "ftp/host_address.h"

#include <cstring>
#include <vector>

namespace {

const unsigned char kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Four decimal numbers of 0-255 joined by dots, without signs or leading zeros.
bool ParseDotted(const std::string& text, unsigned char out[4]) {
  size_t pos = 0;
  for (int k = 0; k < 4; ++k) {
    if (k > 0 && (pos >= text.size() || text[pos++] != '.')) return false;
    const size_t start = pos;
    unsigned value = 0;
    while (pos < text.size() && pos - start < 3 && text[pos] >= '0' && text[pos] <= '9')
      value = value * 10 + static_cast<unsigned>(text[pos++] - '0');
    if (pos == start || value > 255 || (pos - start > 1 && text[start] == '0')) return false;
    out[k] = static_cast<unsigned char>(value);
  }
  return pos == text.size();
}

// The groups of one side of "::": 1 to 4 hex digits each, joined by ':'; the last may be a
// dotted IPv4 address (two groups) where `tail` allows it.
bool ParseGroups(const std::string& text, bool tail, std::vector<unsigned>& groups) {
  if (text.empty()) return true;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(':', start);
    const std::string group = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos && tail && group.find('.') != std::string::npos) {
      unsigned char v4[4];
      if (!ParseDotted(group, v4)) return false;
      groups.push_back(v4[0] * 256u + v4[1]);
      groups.push_back(v4[2] * 256u + v4[3]);
      return true;
    }
    if (group.empty() || group.size() > 4) return false;
    unsigned value = 0;
    for (char c : group) {
      const int digit = HexValue(c);
      if (digit < 0) return false;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    groups.push_back(value);
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

bool ParseIpv6(const std::string& text, unsigned char out[16]) {
  const size_t gap = text.find("::");
  std::vector<unsigned> head, tailGroups;
  if (gap == std::string::npos) {
    if (!ParseGroups(text, true, head) || head.size() != 8) return false;
  } else {
    if (text.find("::", gap + 1) != std::string::npos) return false;
    if (!ParseGroups(text.substr(0, gap), false, head) || !ParseGroups(text.substr(gap + 2), true, tailGroups))
      return false;
    if (head.size() + tailGroups.size() > 7) return false;
  }
  std::vector<unsigned> groups = head;
  groups.resize(8 - tailGroups.size(), 0);
  groups.insert(groups.end(), tailGroups.begin(), tailGroups.end());
  for (int k = 0; k < 8; ++k) {
    out[2 * k] = static_cast<unsigned char>(groups[k] >> 8);
    out[2 * k + 1] = static_cast<unsigned char>(groups[k] & 0xFF);
  }
  return true;
}

std::string Dotted(const unsigned char* b) {
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
}

}  // namespace

HostAddress Unmapped(const HostAddress& address) {
  if (address.family != 6 || std::memcmp(address.bytes, kMappedPrefix, sizeof kMappedPrefix) != 0) return address;
  HostAddress v4;
  v4.family = 4;
  std::memcpy(v4.bytes, address.bytes + 12, 4);
  return v4;
}

bool SameHost(const HostAddress& a, const HostAddress& b) {
  const HostAddress x = Unmapped(a), y = Unmapped(b);
  if (x.family == 0 || x.family != y.family) return false;
  return std::memcmp(x.bytes, y.bytes, x.family == 4 ? 4 : 16) == 0;
}

std::string AddressText(const HostAddress& address) {
  if (address.family == 4) return Dotted(address.bytes);
  if (address.family != 6) return std::string();
  if (std::memcmp(address.bytes, kMappedPrefix, sizeof kMappedPrefix) == 0) return "::ffff:" + Dotted(address.bytes + 12);
  unsigned groups[8];
  for (int k = 0; k < 8; ++k) groups[k] = address.bytes[2 * k] * 256u + address.bytes[2 * k + 1];
  // The longest run of two or more zero groups (the first of equal ones) becomes "::".
  int best = -1, bestLength = 1;
  for (int k = 0; k < 8;) {
    int length = 0;
    while (k + length < 8 && groups[k + length] == 0) ++length;
    if (length > bestLength) best = k, bestLength = length;
    k += length ? length : 1;
  }
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (int k = 0; k < 8; ++k) {
    if (k == best) {
      text += "::";
      k += bestLength - 1;
      continue;
    }
    if (!text.empty() && text.back() != ':') text += ':';
    std::string group;
    for (unsigned v = groups[k]; v || group.empty(); v >>= 4) group.insert(group.begin(), kHex[v & 15]);
    text += group;
  }
  return text;
}

bool ParseAddressText(const std::string& text, HostAddress& address) {
  HostAddress parsed;
  if (text.find(':') != std::string::npos) {
    if (!ParseIpv6(text, parsed.bytes)) return false;
    parsed.family = 6;
  } else {
    if (!ParseDotted(text, parsed.bytes)) return false;
    parsed.family = 4;
  }
  address = parsed;
  return true;
}

std::string BareHost(const std::string& typed) {
  const size_t first = typed.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  std::string host = typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']' && host.find(':') != std::string::npos)
    host = host.substr(1, host.size() - 2);
  return host;
}

std::string HostAndPort(const std::string& host, int port) {
  const std::string shown = host.find(':') != std::string::npos ? "[" + host + "]" : host;
  return shown + ":" + std::to_string(port);
}
