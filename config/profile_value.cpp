#include "config/profile_value.h"

static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string QuoteForProfile(const std::string& value) {
  if (value.empty()) return value;
  bool trimmed = IsBlank(value.front()) || IsBlank(value.back());
  bool quoted = value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                                      (value.front() == '\'' && value.back() == '\''));
  return trimmed || quoted ? "\"" + value + "\"" : value;
}

int ParseProfileInt(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) value = 2147483648LL;  // saturate instead of overflowing
  }
  if (negative) value = -value;
  if (value > 2147483647LL) value = 2147483647LL;
  return static_cast<int>(value);
}
