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
    Boxes().clear();
    Answer() = answer;
    SetMessageBoxObserver(&Record);
  }
  ~MessageBoxRecorder() { SetMessageBoxObserver(nullptr); }
  const std::vector<RecordedBox>& boxes() const { return Boxes(); }

 private:
  static std::vector<RecordedBox>& Boxes() {
    static std::vector<RecordedBox> boxes;
    return boxes;
  }
  static int& Answer() {
    static int answer = 1;
    return answer;
  }
  static int Record(const std::string& text, const std::string& caption, unsigned style) {
    Boxes().push_back({text, caption, style});
    return Answer();
  }
};
