#include "app/window_placement.h"

#include <algorithm>
#include <cstdint>

namespace {

int64_t Clamp(int64_t v, int64_t low, int64_t high) { return std::max(low, std::min(v, high)); }

}  // namespace

Placement FitPlacement(const Placement& saved, const Placement& workArea) {
  // 64 bits: the saved values are any ints a file can hold.
  const int64_t workWidth = std::max<int64_t>(int64_t{workArea.right} - workArea.left, 0);
  const int64_t workHeight = std::max<int64_t>(int64_t{workArea.bottom} - workArea.top, 0);
  int64_t width = int64_t{saved.right} - saved.left, height = int64_t{saved.bottom} - saved.top;
  if (width < kSmallestWindowWidth || height < kSmallestWindowHeight) {
    const Placement defaults;
    width = defaults.right - defaults.left;
    height = defaults.bottom - defaults.top;
  }
  width = std::min(width, workWidth);
  height = std::min(height, workHeight);
  Placement fit = saved;
  fit.left = static_cast<int>(Clamp(saved.left, workArea.left, workArea.left + workWidth - width));
  fit.top = static_cast<int>(Clamp(saved.top, workArea.top, workArea.top + workHeight - height));
  fit.right = static_cast<int>(fit.left + width);
  fit.bottom = static_cast<int>(fit.top + height);
  return fit;
}
