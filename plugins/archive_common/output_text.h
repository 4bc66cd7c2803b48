// The output buffer a caller hands to an archive library's command function.
#pragma once
#include <cstddef>
#include <string>

// Appends texts to a caller's buffer of SIZE bytes. The buffer is always zero-terminated and
// nothing is written at or past SIZE; a text that does not fit is cut (never inside a
// Shift-JIS character) and everything after it is dropped. A null buffer or a size of 0
// takes nothing.
class OutputText {
 public:
  OutputText(char* buffer, size_t size);
  OutputText(const OutputText&) = delete;
  OutputText& operator=(const OutputText&) = delete;

  void Append(const std::string& text);
  void Line(const std::string& text);  // TEXT followed by CR LF
  bool Truncated() const { return truncated_; }
  size_t Length() const { return used_; }

 private:
  char* buffer_;
  size_t size_;
  size_t used_ = 0;
  bool truncated_ = false;
};
