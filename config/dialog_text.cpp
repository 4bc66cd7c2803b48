#include "config/dialog_text.h"

#include "text/sjis.h"

std::string FitFieldText(const std::string& text, size_t capacity) {
  if (capacity == 0) return std::string();
  size_t room = capacity - 1;
  // Walk whole characters so a cut never leaves a lone lead byte behind.
  size_t end = 0;
  while (end < text.size()) {
    size_t width = CharWidthAt(text, end);
    if (end + width > room) break;
    end += width;
  }
  return text.substr(0, end);
}
