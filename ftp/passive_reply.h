// The replies that open a passive data connection: 229 to EPSV and 227 to PASV.
#pragma once
#include <cstdint>
#include <string>

// "229 Entering Extended Passive Mode (|||6446|)": the port between the delimiters (any
// printable delimiter, the same four times). False for anything else or a port of 0.
bool ParseEpsvReply(const std::string& reply, uint16_t& port);

// "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)", with or without the parentheses: the
// first six numbers of 0-255 joined by commas after the code. False for anything else or
// a port of 0. address holds the four bytes in network order.
bool ParsePasvReply(const std::string& reply, unsigned char address[4], uint16_t& port);
