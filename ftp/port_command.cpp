#include "ftp/port_command.h"

std::string FormatPortCommand(const unsigned char address[4], uint16_t port) {
  std::string line = "PORT ";
  for (int i = 0; i < 4; ++i) {
    line += std::to_string(static_cast<unsigned>(address[i]));
    line += ',';
  }
  line += std::to_string(static_cast<unsigned>(port >> 8));
  line += ',';
  line += std::to_string(static_cast<unsigned>(port & 0xFF));
  line += "\r\n";
  return line;
}

std::string FormatEprtCommand(const HostAddress& address, uint16_t port) {
  return std::string("EPRT |") + (address.family == 6 ? "2" : "1") + "|" + AddressText(address) + "|" +
         std::to_string(static_cast<unsigned>(port)) + "|\r\n";
}
