// The PORT command that announces the client's listening socket for an active transfer.
#pragma once
#include <cstdint>
#include <string>

// "PORT a,b,c,d,h,l\r\n": the four bytes of the IPv4 address in network order, then the
// high and the low byte of the port, each as an unsigned decimal number.
std::string FormatPortCommand(const unsigned char address[4], uint16_t port);
