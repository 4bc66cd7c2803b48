#include "plugins/nkf32/input_code_guess.h"

#include "plugins/nkf32/kanji_codes.h"

namespace nkf {
namespace {

// Charges; a reading's cost is the union of what it met, compared as a number.
constexpr unsigned kLevel2 = 1;      // second level kanji
constexpr unsigned kKana = 2;        // half-width katakana
constexpr unsigned kExtension = 8;   // vendor and user-defined rows
constexpr unsigned kX0212 = 16;      // supplementary kanji
constexpr unsigned kUnassigned = 32; // a cell no standard assigns
constexpr unsigned kUserDefined = 64; // Shift-JIS rows past 94, private to one system

unsigned ChargeForCell(JisCode code) {
  int row = JisRow(code);
  if (row > 94) return kUserDefined;
  if ((row >= 9 && row <= 15) || row >= 85) return kExtension;
  if (!IsDefinedJisCell(code)) return kUnassigned;
  return IsLevel2Kanji(code) ? kLevel2 : 0;
}

// Code points that map into JIS X 0208, approximately: the Latin-1 signs, Greek and
// Cyrillic of rows 1-7, general punctuation and symbols, kana, kanji and full-width forms.
unsigned ChargeForCodePoint(unsigned cp) {
  static const unsigned short kLatin[] = {0xA2, 0xA3, 0xA5, 0xA7, 0xA8, 0xAC, 0xB0, 0xB1, 0xB4, 0xB6, 0xD7, 0xF7};
  for (unsigned short c : kLatin)
    if (cp == c) return 0;
  if ((cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) || (cp >= 0x3B1 && cp <= 0x3C9 && cp != 0x3C2)) return 0;
  if (cp == 0x401 || (cp >= 0x410 && cp <= 0x44F) || cp == 0x451) return 0;
  if ((cp >= 0x2010 && cp <= 0x266F) || (cp >= 0x3000 && cp <= 0x30FF) || (cp >= 0x4E00 && cp <= 0x9FA0) ||
      (cp >= 0xFF01 && cp <= 0xFFEF))
    return 0;
  return kUnassigned;
}

struct Reading {
  EightBitCode code;
  bool alive = true;
  unsigned cost = 0;
  int state = 0;        // bytes still expected in the current character
  unsigned char lead = 0;
  unsigned value = 0;   // UTF-8: code point so far
  int kind = 0;         // EUC: 0 two-byte, 1 half-width kana, 2 supplementary
};

bool FeedShiftJis(Reading& r, unsigned char c) {
  if (r.state == 0) {
    if (c < 0x80) return true;
    if (IsHalfwidthKanaByte(c)) { r.cost |= kKana; return true; }
    if (IsShiftJisLead(c)) { r.lead = c; r.state = 1; return true; }
    return false;
  }
  r.state = 0;
  if (!IsShiftJisTrail(c)) return false;
  if (r.lead >= 0xFA) {
    if (IbmExtensionToJis(r.lead, c) == 0) return false;
    r.cost |= kExtension;
    return true;
  }
  r.cost |= ChargeForCell(ShiftJisToJis(r.lead, c));
  return true;
}

bool FeedEuc(Reading& r, unsigned char c) {
  if (r.state == 0) {
    if (c < 0x80) return true;
    if (c == 0x8E) { r.kind = 1; r.state = 1; return true; }
    if (c == 0x8F) { r.kind = 2; r.state = 2; return true; }
    if (IsEucByte(c)) { r.kind = 0; r.lead = c; r.state = 1; return true; }
    return false;
  }
  --r.state;
  if (r.kind == 1) {
    if (!IsHalfwidthKanaByte(c)) return false;
    r.cost |= kKana;
    return true;
  }
  if (!IsEucByte(c)) return false;
  if (r.kind == 2) {
    if (r.state == 0) r.cost |= kX0212;
    return true;
  }
  r.cost |= ChargeForCell(static_cast<JisCode>(((r.lead & 0x7F) << 8) | (c & 0x7F)));
  return true;
}

bool FeedUtf8(Reading& r, unsigned char c) {
  if (r.state == 0) {
    if (c < 0x80) return true;
    if (c >= 0xC2 && c <= 0xDF) { r.value = c & 0x1F; r.state = 1; r.lead = c; return true; }
    if (c >= 0xE0 && c <= 0xEF) { r.value = c & 0x0F; r.state = 2; r.lead = c; return true; }
    if (c >= 0xF0 && c <= 0xF4) { r.value = c & 0x07; r.state = 3; r.lead = c; return true; }
    return false;
  }
  if (c < 0x80 || c > 0xBF) return false;
  // The second byte of some leads has a narrower range (no overlong or surrogate forms).
  if (r.lead) {
    if ((r.lead == 0xE0 && c < 0xA0) || (r.lead == 0xED && c > 0x9F) || (r.lead == 0xF0 && c < 0x90) ||
        (r.lead == 0xF4 && c > 0x8F))
      return false;
    r.lead = 0;
  }
  r.value = (r.value << 6) | (c & 0x3F);
  if (--r.state == 0) r.cost |= ChargeForCodePoint(r.value);
  return true;
}

bool Feed(Reading& r, unsigned char c) {
  switch (r.code) {
    case EightBitCode::ShiftJis: return FeedShiftJis(r, c);
    case EightBitCode::Euc: return FeedEuc(r, c);
    case EightBitCode::Utf8: return FeedUtf8(r, c);
  }
  return false;
}

// The cheapest of the readings that ALIVE admits; the array order breaks ties.
EightBitCode Cheapest(const Reading* readings, const bool* alive) {
  int best = -1;
  for (int i = 0; i < 3; ++i)
    if (alive[i] && (best < 0 || readings[i].cost < readings[best].cost)) best = i;
  return best < 0 ? EightBitCode::ShiftJis : readings[best].code;
}

}  // namespace

namespace {

EightBitCode Decide(std::string_view text, size_t start) {
  Reading readings[3] = {{EightBitCode::Euc}, {EightBitCode::ShiftJis}, {EightBitCode::Utf8}};
  size_t end = text.size() - start > kGuessWindow ? start + kGuessWindow : text.size();
  for (size_t i = start; i < end; ++i) {
    bool before[3];
    int left = 0;
    for (int k = 0; k < 3; ++k) {
      before[k] = readings[k].alive;
      if (readings[k].alive && !Feed(readings[k], static_cast<unsigned char>(text[i]))) readings[k].alive = false;
      left += readings[k].alive;
    }
    if (left == 0) return Cheapest(readings, before);
    if (left == 1) {
      for (const Reading& r : readings)
        if (r.alive) return r.code;
    }
  }
  // A character cut off by the end of the text does not count against its reading
  // when the window ended first; at the end of the text it does.
  bool alive[3];
  bool any = false;
  for (int k = 0; k < 3; ++k) {
    alive[k] = readings[k].alive && (end < text.size() || readings[k].state == 0);
    any = any || alive[k];
  }
  if (!any)
    for (int k = 0; k < 3; ++k) alive[k] = readings[k].alive;
  return Cheapest(readings, alive);
}

}  // namespace

CodeGuess GuessEightBitCode(std::string_view text, size_t start) {
  CodeGuess guess;
  guess.code = Decide(text, start);
  for (EightBitCode code : {EightBitCode::ShiftJis, EightBitCode::Euc, EightBitCode::Utf8}) {
    Reading r{code};
    size_t& failsAt = guess.failsAt[static_cast<int>(code)];
    for (size_t i = start; i < text.size() && failsAt == std::string::npos; ++i)
      if (!Feed(r, static_cast<unsigned char>(text[i]))) failsAt = i;
  }
  return guess;
}

EightBitCode CodeGuess::FallbackAt(EightBitCode current, size_t index) const {
  size_t at = failsAt[static_cast<int>(current)];
  if (at == std::string::npos || at < index) at = index;
  for (EightBitCode code : {EightBitCode::Euc, EightBitCode::ShiftJis, EightBitCode::Utf8})
    if (code != current && failsAt[static_cast<int>(code)] > at) return code;
  return current;
}

}  // namespace nkf
