// Generated Japanese text for the converter tests: JIS X 0208 characters and JIS X 0201
// katakana written in Shift-JIS, EUC-JP or ISO-2022-JP, and Debian's nkf as the reference.
#pragma once
#include <random>
#include <string>
#include <vector>

namespace corpus {

enum class Encoding { ShiftJis, Euc, Jis };
const Encoding kEncodings[] = {Encoding::ShiftJis, Encoding::Euc, Encoding::Jis};

// An ASCII byte (a), a JIS X 0208 cell (row a, cell b, 1..94) or a half-width katakana (a).
struct Char {
  enum Kind { Ascii, Kanji, Kana } kind;
  int a = 0, b = 0;
};

const std::vector<Char>& AssignedCells();  // as JIS X 0208:1997 assigns them (data/assigned_cells.tsv), in code order
// ISO-2022-JP returns to ASCII before every ASCII byte and at the end, and carries katakana
// in the ESC ( I set.
std::string Encode(const std::vector<Char>& chars, Encoding encoding);
// Words of kanji, kana, ASCII and CR LF or LF in proportions drawn per text, so that some
// texts are almost all one kind.
std::vector<Char> RandomText(std::mt19937& rng);
std::string RunNkf(const std::string& option, const std::string& input);  // its output
// nkf drops a half-width katakana that is a text's first 8-bit character, and the byte after
// it, when an ASCII byte or the end follows; ours keeps both, so such texts are left out.
bool StartsWithLoneKana(const std::string& text);

}  // namespace corpus
