// Case-insensitive comparison and case mapping of byte strings in the user's code page.
// The rules that need them take a TextCase, so the Windows program hands in the system's
// own functions (lstrcmpiA, CharLowerA, CharUpperA) while native builds and tests use the
// Shift-JIS-aware ASCII folding below.
#pragma once
#include <string>

struct TextCase {
  int (*compare)(const char* a, const char* b);  // < 0, 0 or > 0, letter case not counting
  void (*lower)(std::string& text);
  void (*upper)(std::string& text);
};

// Folds only the ASCII letters A-Z and a-z and leaves both bytes of every two-byte
// Shift-JIS character alone (their second byte may look like an ASCII letter).
const TextCase& ShiftJisAsciiCase();

inline bool EqualNoCase(const TextCase& tc, const std::string& a, const std::string& b) {
  return tc.compare(a.c_str(), b.c_str()) == 0;
}
