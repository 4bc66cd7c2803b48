// Text in the ANSI code page, often Shift-JIS (code page 932): where each character begins. A
// byte such as '\\', '/', '|', '.', ':' or '"' is taken for that character only when it is a
// character of its own, never when it is the second byte of a two-byte character: 0x5C ('\\')
// and 0x7C ('|') are second bytes of many characters ("table" 0x95 0x5C, katakana "so" 0x83
// 0x5C, "po" 0x83 0x7C).
// Where a character begins is only known walking from the start of the text: a byte in the
// lead range may itself be the second byte of the character before it ("ran" is 0x97 0x97),
// so no look-back of any length can tell. Shared by the program and the plug-in libraries.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The bytes that open a two-byte character in the ANSI code page the text is in: in code
// page 932 0x81-0x9F and 0xE0-0xFC; in a single-byte code page such as 1252 none at all
// (there "é" 0xE9 is a character of its own and the byte after it is another).
struct LeadByteTable {
  bool lead[256];
};

// The lead bytes of the active ANSI code page, read from the system on first use (each
// plug-in library fills its own copy the same way); natively those of code page 932.
const LeadByteTable& ActiveLeadBytes();

// The lead bytes of a code page the tests name: 932's, or none for any other.
LeadByteTable LeadBytesOfCodePage(unsigned codePage);

// Tests only: read text as in another code page from now on.
void UseLeadBytesForTesting(const LeadByteTable& table);

// True when a byte can start a two-byte character.
inline bool IsLeadByte(unsigned char c) { return ActiveLeadBytes().lead[c]; }

// True when a byte can be the second byte of a two-byte character.
inline bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// The length, 1 or 2, of the character that starts at text[index] (index < text.size()), as
// the code page reads it: a lead byte takes the byte after it, whatever that byte is. Only a
// lead byte at the end of the text stands alone.
inline size_t CharWidthAt(std::string_view text, size_t index) {
  return index + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[index])) ? 2 : 1;
}

// Like CharWidthAt, but 2 only when the byte after the lead byte can be a second byte. Names
// from archives come from anywhere: a doubtful byte there is rather taken for a separator
// than hidden inside a character.
inline size_t CheckedCharWidthAt(std::string_view text, size_t index) {
  return CharWidthAt(text, index) == 2 && IsTrailByte(static_cast<unsigned char>(text[index + 1])) ? 2 : 1;
}

// True when text[index] is a character of its own below 0x80, so that a '\\', '/', '"', '.'
// or ':' found there really is that character. Decided by walking the text from its start
// (only the bytes up to index are read).
bool IsSingleByteChar(const char* text, size_t index);

// The position of the first c (a byte below 0x80) at or after `from` that is a character of its
// own; `from` must be where a character begins. npos when there is none.
size_t FindSingleByteChar(std::string_view text, char c, size_t from = 0);

// The position of the last byte that is one of `chars` (bytes below 0x80) and a character of
// its own; npos when there is none.
size_t FindLastSingleByteChar(std::string_view text, std::string_view chars);

// The parts of the text between the characters c of their own. With keepEmpty false, empty
// parts (from c at the start, the end, or twice in a row) are left out.
std::vector<std::string> SplitAtSingleByteChar(std::string_view text, char c, bool keepEmpty);
