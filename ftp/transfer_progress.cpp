#include "ftp/transfer_progress.h"

#include <climits>

int ProgressPosition(uint64_t done, uint64_t step) {
  if (step == 0) return 0;
  uint64_t position = done / step;
  return position > static_cast<uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(position);
}

std::string FormatWithName(const std::string& format, const std::string& name) {
  return FormatWithValue(format, 's', name);
}

std::string FormatWithValue(const std::string& format, char conversion, const std::string& value) {
  std::string out;
  out.reserve(format.size() + value.size());
  bool used = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == conversion && !used) {
        out += value;
        used = true;
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

std::string FormatProgressLine(const std::string& text, uint64_t done, uint64_t size) {
  return text + " (" + std::to_string(done) + "/" + std::to_string(size) + " Byte)";
}

bool TransferProgress::AddAndCheckPosition(uint64_t count) {
  done += count;
  if (step == 0) return false;
  int position = ProgressPosition(done, step);
  if (position == lastPosition) return false;
  lastPosition = position;
  return true;
}
