// Text read back from a dialog field into a fixed-capacity setting.
#pragma once
#include <cstddef>
#include <string>

// The longest start of text that fits a field of `capacity` bytes including the
// terminating zero, never ending in the first half of a two-byte Shift-JIS character.
std::string FitFieldText(const std::string& text, size_t capacity);
