// A stand-in nkf32.dll that must never be loaded: it answers every call with a marker, so
// a conversion that went through it shows at once.
#include <windows.h>

#include <cstring>

extern "C" {
int WINAPI SetNkfOption(LPCSTR) { return 0; }
void WINAPI NkfConvert(LPSTR output, LPCSTR) { std::strcpy(output, "PLANTED"); }
void WINAPI ToZenkakuKana(LPSTR output, LPCSTR) { std::strcpy(output, "PLANTED"); }
}
