#include "config/password.h"

std::string ScramblePassword(const std::string& text) {
  std::string out(text.rbegin(), text.rend());
  for (char& c : out) {
    unsigned char b = static_cast<unsigned char>(c);
    c = static_cast<char>(b == 0xFF ? 0x01 : b + 1);
  }
  return out;
}

std::string UnscramblePassword(const std::string& text) {
  std::string out(text.rbegin(), text.rend());
  for (char& c : out) {
    unsigned char b = static_cast<unsigned char>(c);
    c = static_cast<char>(b == 0x01 ? 0xFF : b - 1);
  }
  return out;
}
