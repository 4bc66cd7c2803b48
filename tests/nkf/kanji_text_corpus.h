// Generated Japanese text for the converter tests: the characters of JIS X 0208 and
// JIS X 0201 katakana written in Shift-JIS, EUC-JP or ISO-2022-JP, and Debian's nkf run
// on it as the reference.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace corpus {

enum class Encoding { ShiftJis, Euc, Jis };
const char* Name(Encoding e);

// One character of a text: an ASCII byte, a JIS X 0208 cell (row, cell 1..94), or a
// half-width katakana (0xA1..0xDF).
struct Char {
  enum Kind { Ascii, Kanji, Kana } kind;
  int a = 0, b = 0;
};

// The cells JIS X 0208 assigns, as the standard lists them, in code order.
const std::vector<Char>& AssignedCells();

// Writes CHARS in ENCODING; ISO-2022-JP returns to ASCII before every ASCII byte and at
// the end, and carries katakana in the ESC ( I set.
std::string Encode(const std::vector<Char>& chars, Encoding encoding);

// A random text: words of kanji, kana of all kinds, ASCII and CR LF or LF line ends, in
// proportions drawn per text so that some texts are almost all one kind.
std::vector<Char> RandomText(std::mt19937& rng);

// Output of `nkf OPTION` for INPUT (OPTION "-s", "-e", "-j" or "-g").
std::string RunNkf(const std::string& option, const std::string& input);

// nkf drops the first 8-bit character of a text together with the next byte when that
// character is a half-width katakana followed by an ASCII byte or by the end. Ours keeps
// both; texts that start so are compared separately.
bool StartsWithLoneKana(const std::string& text);

}  // namespace corpus
