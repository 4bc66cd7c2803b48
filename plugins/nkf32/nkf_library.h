// The three operations of nkf32.dll on zero-terminated byte strings, as the exports
// perform them. Callers pass no buffer sizes: an output buffer offers twice the input's
// length plus the terminating zero, and no operation writes more than that. A result
// that would not fit, or text that cannot be converted, is written as an empty string,
// which the caller can tell from a conversion of non-empty text.
#pragma once
#include <cstddef>

namespace nkf {

// Selects the output code for the following conversions: 0, or -1 when OPTION names none
// (the previous choice then stays).
int LibrarySetOption(const char* option);
// Writes the converted INPUT, zero-terminated, to OUTPUT; returns the bytes written
// before the terminating zero.
size_t LibraryConvert(char* output, const char* input);
// Writes INPUT with half-width katakana widened, zero-terminated, to OUTPUT.
size_t LibraryWidenKana(char* output, const char* input);

// The most an operation writes for an input of LENGTH bytes, terminating zero included.
constexpr size_t LibraryOutputLimit(size_t length) { return 2 * length + 1; }

}  // namespace nkf
