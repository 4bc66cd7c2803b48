#include "app/system_text_case_win.h"

#include <windows.h>

namespace {

int Compare(const char* a, const char* b) { return lstrcmpiA(a, b); }

void Lower(std::string& text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
}

void Upper(std::string& text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
}

}  // namespace

const TextCase& SystemTextCase() {
  static const TextCase tc{Compare, Lower, Upper};
  return tc;
}
