// The PORT command that announces the client's listening socket for an active transfer.
#pragma once
#include <cstdint>
#include <string>

#include "ftp/host_address.h"

// "PORT a,b,c,d,h,l\r\n": the four bytes of the IPv4 address in network order, then the
// high and the low byte of the port, each as an unsigned decimal number.
std::string FormatPortCommand(const unsigned char address[4], uint16_t port);

// "EPRT |2|::1|6446|\r\n" (RFC 2428): the protocol (1 IPv4, 2 IPv6), the address as text
// and the port in decimal, between '|' delimiters. The way to announce an IPv6 address.
std::string FormatEprtCommand(const HostAddress& address, uint16_t port);
