#include "plugins/nkf32/kanji_codes.h"

namespace nkf {

int ShiftJisToJisRowByte(unsigned char lead, unsigned char trail, unsigned char* cell) {
  int pair = lead <= 0x9F ? lead - 0x81 : lead - 0xC1;
  int row = pair * 2 + 0x21;
  if (trail >= 0x9F) {
    ++row;
    *cell = static_cast<unsigned char>(trail - 0x7E);
  } else if (trail >= 0x80) {
    *cell = static_cast<unsigned char>(trail - 0x20);
  } else {
    *cell = static_cast<unsigned char>(trail - 0x1F);
  }
  return row;
}

void JisToShiftJis(JisCode code, unsigned char* lead, unsigned char* trail) {
  int row = code >> 8, cell = code & 0xFF;
  int l = ((row - 0x21) >> 1) + 0x81;
  if (l > 0x9F) l += 0x40;
  int t;
  if (row & 1)
    t = cell + 0x1F + (cell >= 0x60 ? 1 : 0);
  else
    t = cell + 0x7E;
  *lead = static_cast<unsigned char>(l);
  *trail = static_cast<unsigned char>(t);
}

namespace {
struct CellRange { unsigned char row, first, last; };
// The assigned cells of the rows that have gaps; other rows 1-8 and 16-83 are full.
const CellRange kPartialRows[] = {
  {2, 1, 14}, {2, 26, 33}, {2, 42, 48}, {2, 60, 74}, {2, 82, 89}, {2, 94, 94},
  {3, 16, 25}, {3, 33, 58}, {3, 65, 90},
  {4, 1, 83}, {5, 1, 86}, {6, 1, 24}, {6, 33, 56}, {7, 1, 33}, {7, 49, 81}, {8, 1, 32},
  {47, 1, 51}, {84, 1, 6},
};
}  // namespace

bool IsDefinedJisCell(JisCode code) {
  int row = JisRow(code), cell = JisCell(code);
  if (cell < 1 || cell > 94) return false;
  bool partial = false;
  for (const CellRange& r : kPartialRows) {
    if (r.row != row) continue;
    partial = true;
    if (cell >= r.first && cell <= r.last) return true;
  }
  if (partial) return false;
  return row == 1 || (row >= 16 && row <= 83);
}

namespace {
// Full-width cells for the JIS X 0201 katakana 0x21..0x5F.
const JisCode kWideKana[63] = {
  0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523,  // 21-28
  0x2525, 0x2527, 0x2529, 0x2563, 0x2565, 0x2567, 0x2543, 0x213C,  // 29-30
  0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B, 0x252D, 0x252F,  // 31-38
  0x2531, 0x2533, 0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F,  // 39-40
  0x2541, 0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C, 0x254D,  // 41-48
  0x254E, 0x254F, 0x2552, 0x2555, 0x2558, 0x255B, 0x255E, 0x255F,  // 49-50
  0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568, 0x2569, 0x256A,  // 51-58
  0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C,          // 59-5F
};
}  // namespace

JisCode WidenKana(unsigned char kana) {
  kana &= 0x7F;
  if (kana < 0x21 || kana > 0x5F) return 0;
  return kWideKana[kana - 0x21];
}

JisCode WidenKanaWithMark(unsigned char kana, unsigned char mark) {
  kana &= 0x7F;
  mark &= 0x7F;
  bool voiced = mark == 0x5E, semi = mark == 0x5F;
  if (!voiced && !semi) return 0;
  if (kana == 0x33 && voiced) return 0x2574;                       // u -> vu
  if (kana >= 0x36 && kana <= 0x44 && voiced) return WidenKana(kana) + 1;  // ka..to
  if (kana >= 0x4A && kana <= 0x4E) return WidenKana(kana) + (voiced ? 1 : 2);  // ha..ho
  return 0;
}

namespace {
// Index of a Shift-JIS cell counted through the trail bytes 0x40-0x7E, 0x80-0xFC.
int CellIndex(unsigned char lead, unsigned char trail) {
  return lead * 188 + (trail < 0x80 ? trail - 0x40 : trail - 0x41);
}
void CellFromIndex(int index, unsigned char* lead, unsigned char* trail) {
  *lead = static_cast<unsigned char>(index / 188);
  int t = index % 188;
  *trail = static_cast<unsigned char>(t < 0x3F ? t + 0x40 : t + 0x41);
}
const int kIbmKanjiFirst = 0xFA * 188 + (0x5C - 0x40);
const int kNecKanjiFirst = 0xED * 188;
const int kKanjiCount = 360;

// The symbols of FA40..FA5B and where text bound for EUC-JP finds them.
const JisCode kIbmSymbols[28] = {
  0x7C71, 0x7C72, 0x7C73, 0x7C74, 0x7C75, 0x7C76, 0x7C77, 0x7C78, 0x7C79, 0x7C7A,  // small roman numerals
  0x2D35, 0x2D36, 0x2D37, 0x2D38, 0x2D39, 0x2D3A, 0x2D3B, 0x2D3C, 0x2D3D, 0x2D3E,  // roman numerals
  0x224C, 0x7C7C, 0x7C7D, 0x7C7E, 0x2D6A, 0x2D62, 0x2D64, 0x2268,
};
}  // namespace

JisCode IbmExtensionToJis(unsigned char lead, unsigned char trail) {
  if (lead < 0xFA || lead > 0xFC) return 0;
  int index = CellIndex(lead, trail);
  int first = CellIndex(0xFA, 0x40);
  if (index < first) return 0;
  if (index < kIbmKanjiFirst) return kIbmSymbols[index - first];
  if (index >= kIbmKanjiFirst + kKanjiCount) return 0;
  unsigned char l, t;
  CellFromIndex(kNecKanjiFirst + (index - kIbmKanjiFirst), &l, &t);
  return ShiftJisToJis(l, t);
}

bool NecSelectedToIbm(JisCode code, unsigned char* lead, unsigned char* trail) {
  int row = JisRow(code);
  if (row < 89 || row > 92) return false;
  unsigned char l, t;
  JisToShiftJis(code, &l, &t);
  int index = CellIndex(l, t);
  if (index >= kNecKanjiFirst && index < kNecKanjiFirst + kKanjiCount) {
    CellFromIndex(kIbmKanjiFirst + (index - kNecKanjiFirst), lead, trail);
    return true;
  }
  // The symbols after the kanji: small roman numerals and three marks. The not-sign
  // goes to its standard cell, handled by the caller through the JIS code.
  int cell = JisCell(code);
  if (row == 92 && cell >= 81 && cell <= 90) {
    CellFromIndex(CellIndex(0xFA, 0x40) + (cell - 81), lead, trail);
    return true;
  }
  if (row == 92 && cell >= 92 && cell <= 94) {
    CellFromIndex(CellIndex(0xFA, 0x55) + (cell - 92), lead, trail);
    return true;
  }
  return false;
}

}  // namespace nkf
