// nkf32.dll: the three conversion exports, undecorated (see nkf32.def) and WINAPI, so that
// this copy and users' own copies of a library by that name can replace each other.
#include <windows.h>

#include "plugins/nkf32/nkf_library.h"

extern "C" {

int WINAPI SetNkfOption(LPCSTR option) {
  try {
    return nkf::LibrarySetOption(option);
  } catch (...) {
    return -1;
  }
}

// Out of memory ends in an empty result rather than an exception crossing the export.
void WINAPI NkfConvert(LPSTR output, LPCSTR input) {
  try {
    nkf::LibraryConvert(output, input);
  } catch (...) {
    if (output) output[0] = '\0';
  }
}

void WINAPI ToZenkakuKana(LPSTR output, LPCSTR input) {
  try {
    nkf::LibraryWidenKana(output, input);
  } catch (...) {
    if (output) output[0] = '\0';
  }
}

}  // extern "C"
