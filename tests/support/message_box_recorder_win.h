// Records the program's message boxes instead of showing them, answering with a preset.
#pragma once
#include <string>
#include <vector>

#include "app/message_boxes_win.h"

struct RecordedBox {
  std::string text, caption;
  unsigned style;
};

class MessageBoxRecorder {
 public:
  explicit MessageBoxRecorder(int answer = 1) {
    boxes_.clear();
    answer_ = answer;
    SetMessageBoxObserver(&Record);
  }
  ~MessageBoxRecorder() { SetMessageBoxObserver(nullptr); }
  const std::vector<RecordedBox>& boxes() const { return boxes_; }

 private:
  static inline std::vector<RecordedBox> boxes_;
  static inline int answer_ = 1;
  static int Record(const std::string& text, const std::string& caption, unsigned style) {
    boxes_.push_back({text, caption, style});
    return answer_;
  }
};
