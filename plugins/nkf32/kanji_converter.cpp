#include "plugins/nkf32/kanji_converter.h"

#include <vector>

#include "plugins/nkf32/input_code_guess.h"
#include "plugins/nkf32/kanji_codes.h"

namespace nkf {
namespace {

// One decoded character.
struct Item {
  enum Kind : unsigned char { Byte, Jis, Kana, UserDefined, Ibm } kind;
  // The byte, the JIS code, the 0x21..0x5F kana, or the Shift-JIS pair of a user-defined
  // or an IBM extension character.
  unsigned short value;
};

const unsigned char kEsc = 0x1B, kShiftOut = 0x0E, kShiftIn = 0x0F;

enum class JisSet { Ascii, Kanji, Kana };

class Decoder {
 public:
  explicit Decoder(std::string_view text) : text_(text) {}

  // False when the text is UTF-8, or holds a byte that is no character in the code read.
  bool Run(std::vector<Item>* items) {
    items_ = items;
    size_t i = 0;
    const size_t n = text_.size();
    while (i < n && !utf8_) {
      unsigned char c = Byte(i);
      if (c == kEsc) {
        i = Escape(i);
      } else if (c == kShiftOut) {
        shifted_ = true;
        ++i;
      } else if (c == kShiftIn) {
        shifted_ = false;
        ++i;
      } else if (c < 0x80) {
        i = SevenBit(i);
      } else {
        if (!decided_) {
          decided_ = true;
          jis8_ = sawJis_;
          if (!jis8_) {
            guess_ = GuessEightBitCode(text_, i);
            code_ = guess_.code;
            utf8_ = code_ == EightBitCode::Utf8;
            if (utf8_) break;
          }
        }
        i = EightBit(i);
      }
    }
    return !utf8_ && !lost_;
  }

 private:
  unsigned char Byte(size_t i) const { return static_cast<unsigned char>(text_[i]); }
  bool Has(size_t i) const { return i < text_.size(); }
  void Put(Item::Kind kind, unsigned value) { items_->push_back({kind, static_cast<unsigned short>(value)}); }

  // An escape sequence of ISO-2022-JP; unknown ones pass through as bytes.
  size_t Escape(size_t i) {
    auto at = [&](size_t k, char c) { return Has(i + k) && text_[i + k] == c; };
    if (!Has(i + 1) || !Has(i + 2) || (at(1, '$') && at(2, '(') && !Has(i + 3))) return text_.size();
    if (at(1, '$') && (at(2, '@') || at(2, 'B'))) return Select(JisSet::Kanji, i + 3);
    if (at(1, '$') && at(2, '(') && (at(3, '@') || at(3, 'B'))) return Select(JisSet::Kanji, i + 4);
    if (at(1, '(') && (at(2, 'B') || at(2, 'J') || at(2, 'H'))) return Select(JisSet::Ascii, i + 3);
    if (at(1, '(') && at(2, 'I')) return Select(JisSet::Kana, i + 3);
    Put(Item::Byte, kEsc);
    return i + 1;
  }
  size_t Select(JisSet set, size_t next) {
    set_ = set;
    if (set != JisSet::Ascii) sawJis_ = true;
    return next;
  }

  size_t SevenBit(size_t i) {
    unsigned char c = Byte(i);
    if (set_ == JisSet::Kanji && !shifted_ && IsJisByte(c)) {
      // A kanji needs two bytes; a lone one (cut by a line end or the end) is dropped.
      if (Has(i + 1) && IsJisByte(Byte(i + 1))) {
        Put(Item::Jis, (c << 8) | Byte(i + 1));
        return i + 2;
      }
      return i + 1;
    }
    if ((set_ == JisSet::Kana || shifted_) && c >= 0x21 && c <= 0x7E) {
      if (c <= 0x5F) Put(Item::Kana, c);
      return i + 1;
    }
    Put(Item::Byte, c);
    return i + 1;
  }

  size_t EightBit(size_t i) {
    if (jis8_) {
      if (IsHalfwidthKanaByte(Byte(i))) {
        Put(Item::Kana, Byte(i) & 0x7F);
        return i + 1;
      }
      // Not 8-bit JIS katakana after all: the 8-bit text is read from here on.
      jis8_ = false;
      guess_ = GuessEightBitCode(text_, i);
      code_ = guess_.code;
      if (code_ == EightBitCode::Utf8) {
        utf8_ = true;
        return text_.size();
      }
    }
    // A character the current reading cannot take may be the point where a choice made
    // on a long undecided stretch proves wrong; another reading that still holds goes on.
    for (int tries = 0; tries < 3; ++tries) {
      size_t next = code_ == EightBitCode::Euc ? Euc(i) : ShiftJis(i);
      if (next) return next;
      EightBitCode other = guess_.FallbackAt(code_, i);
      if (other == code_) break;
      code_ = other;
      if (code_ == EightBitCode::Utf8) {
        utf8_ = true;
        return text_.size();
      }
    }
    // A byte no reading can take (a Latin-1 letter, a broken character) would be lost: the
    // text is refused rather than converted without it.
    lost_ = true;
    return text_.size();
  }

  // One character at I in Shift-JIS; the index after it, or 0 when it is not one.
  size_t ShiftJis(size_t i) {
    unsigned char c = Byte(i);
    if (IsHalfwidthKanaByte(c)) {
      Put(Item::Kana, c & 0x7F);
      return i + 1;
    }
    if (!IsShiftJisLead(c) || !Has(i + 1) || !IsShiftJisTrail(Byte(i + 1))) return 0;
    unsigned char t = Byte(i + 1);
    if (c >= 0xFA) {
      if (!IbmExtensionToJis(c, t)) return 0;
      Put(Item::Ibm, (c << 8) | t);
    } else if (c >= 0xF0) {
      Put(Item::UserDefined, (c << 8) | t);
    } else {
      Put(Item::Jis, ShiftJisToJis(c, t));
    }
    return i + 2;
  }

  // One character at I in EUC-JP; the index after it, or 0.
  size_t Euc(size_t i) {
    unsigned char c = Byte(i);
    if (c == 0x8E) {
      if (!Has(i + 1) || !IsHalfwidthKanaByte(Byte(i + 1))) return 0;
      Put(Item::Kana, Byte(i + 1) & 0x7F);
      return i + 2;
    }
    if (c == 0x8F) {
      // Supplementary kanji have no place in the output codes.
      if (Has(i + 2) && IsEucByte(Byte(i + 1)) && IsEucByte(Byte(i + 2))) return i + 3;
      return 0;
    }
    if (!IsEucByte(c) || !Has(i + 1) || !IsEucByte(Byte(i + 1))) return 0;
    Put(Item::Jis, ((c & 0x7F) << 8) | (Byte(i + 1) & 0x7F));
    return i + 2;
  }

  std::string_view text_;
  std::vector<Item>* items_ = nullptr;
  JisSet set_ = JisSet::Ascii;
  bool shifted_ = false;
  bool sawJis_ = false;
  bool decided_ = false;
  bool jis8_ = false;  // 8-bit bytes after JIS escapes: katakana
  bool utf8_ = false;
  bool lost_ = false;
  CodeGuess guess_;
  EightBitCode code_ = EightBitCode::ShiftJis;
};

// Half-width katakana become full-width; a kana followed by a mark that combines with it
// becomes one character.
void WidenKanaItems(std::vector<Item>* items) {
  std::vector<Item>& v = *items;
  size_t out = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i].kind != Item::Kana) {
      v[out++] = v[i];
      continue;
    }
    unsigned char kana = static_cast<unsigned char>(v[i].value);
    if (i + 1 < v.size() && v[i + 1].kind == Item::Kana) {
      if (JisCode joined = WidenKanaWithMark(kana, static_cast<unsigned char>(v[i + 1].value))) {
        v[out++] = {Item::Jis, joined};
        ++i;
        continue;
      }
    }
    v[out++] = {Item::Jis, WidenKana(kana)};
  }
  v.resize(out);
}

void EncodeShiftJis(const std::vector<Item>& items, std::string* out) {
  for (const Item& it : items) {
    unsigned char lead, trail;
    switch (it.kind) {
      case Item::Byte:
        out->push_back(static_cast<char>(it.value));
        break;
      case Item::Ibm:
        // Kept as written, but for two signs that have standard cells.
        if (JisCode code = IbmExtensionToJis(it.value >> 8, it.value & 0xFF); code == 0x224C || code == 0x2268) {
          JisToShiftJis(code, &lead, &trail);
          out->push_back(static_cast<char>(lead));
          out->push_back(static_cast<char>(trail));
          break;
        }
        [[fallthrough]];
      case Item::UserDefined:
        out->push_back(static_cast<char>(it.value >> 8));
        out->push_back(static_cast<char>(it.value & 0xFF));
        break;
      case Item::Jis:
        if (it.value == 0x7C7B) {  // the NEC-selected not-sign: the standard one
          JisToShiftJis(0x224C, &lead, &trail);
        } else if (!NecSelectedToIbm(it.value, &lead, &trail)) {
          JisToShiftJis(it.value, &lead, &trail);
        }
        out->push_back(static_cast<char>(lead));
        out->push_back(static_cast<char>(trail));
        break;
      case Item::Kana:
        break;
    }
  }
}

// The JIS cell of an IBM extension character: its NEC-selected or standard twin.
Item ResolveIbm(Item it) {
  if (it.kind == Item::Ibm) return {Item::Jis, IbmExtensionToJis(it.value >> 8, it.value & 0xFF)};
  return it;
}

void EncodeEuc(const std::vector<Item>& items, std::string* out) {
  for (Item it : items) {
    it = ResolveIbm(it);
    if (it.kind == Item::Byte) {
      out->push_back(static_cast<char>(it.value));
    } else if (it.kind == Item::Jis) {
      out->push_back(static_cast<char>((it.value >> 8) | 0x80));
      out->push_back(static_cast<char>((it.value & 0xFF) | 0x80));
    }
  }
}

void EncodeJis(const std::vector<Item>& items, std::string* out) {
  bool kanji = false;
  for (Item it : items) {
    it = ResolveIbm(it);
    if (it.kind == Item::Byte) {
      if (kanji) out->append("\x1b(B");
      kanji = false;
      out->push_back(static_cast<char>(it.value));
    } else if (it.kind == Item::Jis) {
      if (!kanji) out->append("\x1b$B");
      kanji = true;
      out->push_back(static_cast<char>(it.value >> 8));
      out->push_back(static_cast<char>(it.value & 0xFF));
    }
  }
  if (kanji) out->append("\x1b(B");
}

}  // namespace

bool ParseOutputOption(std::string_view option, OutputCode* code) {
  bool found = false;
  for (size_t i = 0; i < option.size(); ++i) {
    char c = option[i];
    if (c == 's' || c == 'S') { *code = OutputCode::ShiftJis; found = true; }
    else if (c == 'e' || c == 'E') { *code = OutputCode::Euc; found = true; }
    else if (c == 'j' || c == 'J') { *code = OutputCode::Jis; found = true; }
  }
  return found;
}

bool ConvertKanjiText(std::string_view input, OutputCode code, std::string* result) {
  result->clear();
  std::vector<Item> items;
  items.reserve(input.size());
  if (!Decoder(input).Run(&items)) return false;
  WidenKanaItems(&items);
  result->reserve(input.size() + input.size() / 4 + 8);
  switch (code) {
    case OutputCode::ShiftJis: EncodeShiftJis(items, result); break;
    case OutputCode::Euc: EncodeEuc(items, result); break;
    case OutputCode::Jis: EncodeJis(items, result); break;
  }
  return true;
}

std::string WidenHalfwidthKana(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() * 2);
  for (size_t i = 0; i < sjis.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(sjis[i]);
    if (IsShiftJisLead(c) && i + 1 < sjis.size()) {
      out.push_back(sjis[i]);
      out.push_back(sjis[++i]);
      continue;
    }
    if (!IsHalfwidthKanaByte(c)) {
      out.push_back(sjis[i]);
      continue;
    }
    JisCode wide = 0;
    if (i + 1 < sjis.size() && IsHalfwidthKanaByte(static_cast<unsigned char>(sjis[i + 1])))
      wide = WidenKanaWithMark(c, static_cast<unsigned char>(sjis[i + 1]));
    if (wide) ++i;
    else wide = WidenKana(c);
    unsigned char lead, trail;
    JisToShiftJis(wide, &lead, &trail);
    out.push_back(static_cast<char>(lead));
    out.push_back(static_cast<char>(trail));
  }
  return out;
}

}  // namespace nkf
