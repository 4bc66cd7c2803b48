#include "config/sheet_fields.h"

#include <climits>

static int ParseField(const std::string& text, bool allowSign) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (allowSign && i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;
  }
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (digits == 0 || i != text.size()) return 0;
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return 0;
  return static_cast<int>(value);
}

int ParseSignedField(const std::string& text) { return ParseField(text, true); }
int ParseUnsignedField(const std::string& text) { return ParseField(text, false); }

int ClampOptionsTimeLag(int minutes) {
  if (minutes >= 359) return 359;
  if (minutes < -359) return -359;
  return minutes;
}
