#include "app/sjis.h"

bool IsSingleByteChar(const char* text, size_t index) {
  if (index == 0) return true;
  const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
  if (t[index] >= 0x80) return false;
  if (!IsLeadByte(t[index - 1])) return true;
  if (index == 1) return false;
  return IsLeadByte(t[index - 2]);
}
