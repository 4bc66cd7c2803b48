// Code arithmetic shared by the converter: JIS X 0208 cells in their Shift-JIS and EUC-JP
// forms, the cells the standard defines, and the half-width katakana of JIS X 0201.
#pragma once
#include <cstdint>

namespace nkf {

// A JIS X 0208 character as its two 7-bit bytes (0x2121..0x7E7E), row byte high.
using JisCode = uint16_t;

inline bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
inline bool IsShiftJisTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }
inline bool IsHalfwidthKanaByte(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }
inline bool IsEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }
inline bool IsJisByte(unsigned char c) { return c >= 0x21 && c <= 0x7E; }

// Shift-JIS lead and trail to the JIS code. Leads from 0xF0 give rows past 94, which
// only Shift-JIS can carry (the user-defined area); callers check the row.
int ShiftJisToJisRowByte(unsigned char lead, unsigned char trail, unsigned char* cell);
inline JisCode ShiftJisToJis(unsigned char lead, unsigned char trail) {
  unsigned char cell = 0;
  int row = ShiftJisToJisRowByte(lead, trail, &cell);
  return static_cast<JisCode>((row << 8) | cell);
}
// JIS code (rows 1..94) to its Shift-JIS pair.
void JisToShiftJis(JisCode code, unsigned char* lead, unsigned char* trail);

// Row 1..94 and cell 1..94 of a code.
inline int JisRow(JisCode code) { return (code >> 8) - 0x20; }
inline int JisCell(JisCode code) { return (code & 0xFF) - 0x20; }

// True for the cells JIS X 0208 assigns a character (rows 1-8, 16-84 with their gaps).
bool IsDefinedJisCell(JisCode code);
// Second level kanji, rows 48-84.
inline bool IsLevel2Kanji(JisCode code) { return JisRow(code) >= 48 && JisRow(code) <= 84; }

// Half-width katakana (the JIS X 0201 byte 0x21..0x5F, or 0xA1..0xDF with the high bit)
// to the full-width character. 0x5E and 0x5F are the voiced and semi-voiced marks.
JisCode WidenKana(unsigned char kana);
// The full-width character for KANA followed by MARK (0x5E or 0x5F), or 0 when the pair
// has no single character (the mark then stays a character of its own).
JisCode WidenKanaWithMark(unsigned char kana, unsigned char mark);

// Windows code page 932 places 360 kanji and a few symbols twice: the IBM extension at
// Shift-JIS 0xFA40..0xFC4B and the NEC-selected copy at 0xED40..0xEEFC (rows 89-92).
// Text bound for EUC-JP or ISO-2022-JP uses the row 89-92 (or standard) cell; Shift-JIS
// output uses the IBM codes. Returns 0 outside the IBM range.
JisCode IbmExtensionToJis(unsigned char lead, unsigned char trail);
// For a row 89-92 cell: the IBM Shift-JIS pair. False when the cell has none.
bool NecSelectedToIbm(JisCode code, unsigned char* lead, unsigned char* trail);

}  // namespace nkf
