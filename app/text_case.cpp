#include "app/text_case.h"

#include "text/sjis.h"

namespace {

unsigned char FoldByte(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

int CompareFolded(const char* a, const char* b) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
  const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
  bool trail = false;  // the bytes at p and q are second bytes of a two-byte character
  for (;; ++p, ++q) {
    unsigned char x = trail ? *p : FoldByte(*p);
    unsigned char y = trail ? *q : FoldByte(*q);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
    trail = !trail && IsLeadByte(*p);
  }
}

template <unsigned char (*Map)(unsigned char)>
void MapLetters(std::string& text) {
  for (size_t i = 0; i < text.size(); i += CharWidthAt(text, i)) {
    // The second byte of a two-byte character is left as it is.
    if (CharWidthAt(text, i) == 1) text[i] = static_cast<char>(Map(static_cast<unsigned char>(text[i])));
  }
}

unsigned char LowerByte(unsigned char c) { return FoldByte(c); }
unsigned char UpperByte(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

}  // namespace

const TextCase& ShiftJisAsciiCase() {
  static const TextCase tc{CompareFolded, MapLetters<LowerByte>, MapLetters<UpperByte>};
  return tc;
}
