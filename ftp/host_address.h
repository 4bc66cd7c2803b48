// Host addresses of either family as the engine compares, shows and announces them: the
// numeric text of IPv4 and IPv6 addresses, and host names as the user types them.
#pragma once
#include <string>

struct HostAddress {
  int family = 0;  // 4 or 6; 0 for none
  unsigned char bytes[16] = {};  // the first 4 for IPv4, in network order
};

// An IPv4 address carried in IPv6 form (::ffff:a.b.c.d) as the IPv4 address it is; any
// other address as it is.
HostAddress Unmapped(const HostAddress& address);

// True when both are the same host, a v4-mapped address counting as its IPv4 address.
bool SameHost(const HostAddress& a, const HostAddress& b);

// "127.0.0.1", or an IPv6 address in its shortest text ("::1", "fe80::1:2"); empty for none.
std::string AddressText(const HostAddress& address);

// Numeric text of either family: four dotted decimal numbers, or IPv6 text with at most one
// "::" and an optional dotted IPv4 tail. False for anything else (names, zones, blanks).
bool ParseAddressText(const std::string& text, HostAddress& address);

// The host as the user typed it, without blanks around it and without the brackets around
// an IPv6 literal ("[::1]" gives "::1"), as name lookup wants it.
std::string BareHost(const std::string& typed);

// "host:port" as shown and logged; an IPv6 literal in brackets ("[::1]:21").
std::string HostAndPort(const std::string& host, int port);
