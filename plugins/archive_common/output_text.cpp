#include "plugins/archive_common/output_text.h"

#include <cstring>

#include "text/sjis.h"

OutputText::OutputText(char* buffer, size_t size) : buffer_(buffer), size_(buffer ? size : 0) {
  if (size_ > 0) buffer_[0] = '\0';
}

void OutputText::Append(const std::string& text) {
  if (truncated_ || text.empty()) return;
  if (size_ == 0) {
    truncated_ = true;
    return;
  }
  size_t room = size_ - 1 - used_;
  size_t take = text.size();
  if (take > room) {
    truncated_ = true;
    // Cut before a character rather than inside one.
    size_t i = 0;
    while (i < room) {
      size_t step = CharWidthAt(text, i);
      if (i + step > room) break;
      i += step;
    }
    take = i;
  }
  std::memcpy(buffer_ + used_, text.data(), take);
  used_ += take;
  buffer_[used_] = '\0';
}

void OutputText::Line(const std::string& text) { Append(text + "\r\n"); }
