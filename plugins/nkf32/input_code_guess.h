// Which encoding 8-bit Japanese text is in: Shift-JIS, EUC-JP or UTF-8.
// The same bytes are often valid in more than one of them (EUC-JP hiragana read as
// Shift-JIS are half-width katakana), so each reading is followed in parallel and
// charged for what it meets that real text rarely holds; the cheapest reading wins,
// EUC-JP before Shift-JIS before UTF-8 on a tie. The decision is taken as soon as only
// one reading survives, or after a window of bytes from the first 8-bit byte. A choice
// made at the window's end is not final: where its reading later fails, the text goes
// on in a reading that still holds.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace nkf {

enum class EightBitCode { ShiftJis, Euc, Utf8 };

// Bytes examined from the first 8-bit byte before the cheapest reading is taken.
constexpr size_t kGuessWindow = 2048;

struct CodeGuess {
  EightBitCode code = EightBitCode::ShiftJis;
  // Where each reading, followed from the first 8-bit byte, meets a byte it cannot
  // accept (npos when none), indexed by EightBitCode.
  size_t failsAt[3] = {std::string::npos, std::string::npos, std::string::npos};

  // The reading to go on with when CURRENT cannot read the character at INDEX: the
  // cheapest-ranked one still holding there, or CURRENT itself when none does.
  EightBitCode FallbackAt(EightBitCode current, size_t index) const;
};

// TEXT[start] is the first byte with the high bit set.
CodeGuess GuessEightBitCode(std::string_view text, size_t start);

}  // namespace nkf
