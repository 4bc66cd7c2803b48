// The conversion behind nkf32.dll and vako-nkf: Japanese text in Shift-JIS, EUC-JP or
// ISO-2022-JP (detected) to one of the three. Line ends stay as they are; half-width
// katakana become full-width ones, a following voiced or semi-voiced mark joined in;
// the JIS X 0201 Roman set is read as ASCII.
#pragma once
#include <string>
#include <string_view>

namespace nkf {

enum class OutputCode { ShiftJis, Euc, Jis };

// Reads an option string such as "-s", "-e" or "-j". False when it names no output code.
bool ParseOutputOption(std::string_view option, OutputCode* code);

// Converts INPUT into RESULT. False, with RESULT empty, for text this converter cannot
// read whole (UTF-8, or an 8-bit byte that is no character in the code read, such as a
// Latin-1 letter): such text is better left as it is than garbled or cut.
bool ConvertKanjiText(std::string_view input, OutputCode code, std::string* result);

// Shift-JIS text with its half-width katakana widened (marks joined where a character
// exists); everything else is copied unchanged. Never more than twice the input.
std::string WidenHalfwidthKana(std::string_view sjis);

}  // namespace nkf
