// The replies that open a passive data connection: 229 to EPSV and 227 to PASV.
#pragma once
#include <cstdint>
#include <string>

#include "ftp/host_address.h"

// "229 Entering Extended Passive Mode (|||6446|)": the port between the delimiters (any
// printable delimiter, the same four times). A reply in the form of EPRT's argument,
// "(|2|::1|6446|)" or "(|1|127.0.0.1|6446|)", is read too, and `named` (when given) gets
// the host it names (family 0 when it names none): the caller decides what it is worth.
// False for anything else, a port of 0 or past 65535, a protocol other than 1 or 2, or an
// address that is not of that protocol's family.
bool ParseEpsvReply(const std::string& reply, uint16_t& port, HostAddress* named = nullptr);

// "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)", with or without the parentheses: the
// first six numbers of 0-255 joined by commas after the code. False for anything else or
// a port of 0. address holds the four bytes in network order.
bool ParsePasvReply(const std::string& reply, unsigned char address[4], uint16_t& port);
