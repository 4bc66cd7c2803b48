// Shift-JIS (code page 932) byte tests used before any byte is taken for an ASCII character.
#pragma once
#include <cstddef>

// True when a byte can start a two-byte Shift-JIS character.
inline bool IsLeadByte(unsigned char c) { return (c >= 0x80 && c <= 0x9F) || c >= 0xE0; }

// True when text[index] is a character of its own, not the second half of a two-byte
// character, so a '\\', '/', '"', '.' or ':' found there really is that character.
// It looks at most two bytes back, as the program always has.
bool IsSingleByteChar(const char* text, size_t index);
