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

Placement CenteredOnWindow(const Placement& owner, int width, int height, const Placement& workArea) {
  const int64_t ownerWidth = int64_t{owner.right} - owner.left, ownerHeight = int64_t{owner.bottom} - owner.top;
  int64_t left = owner.left + ownerWidth / 2 - width / 2;
  int64_t top = owner.top + ownerHeight / 2 - height / 2;
  // The far edge first, then the near one: the near one wins when the dialog is too large.
  left = std::max<int64_t>(std::min<int64_t>(left, int64_t{workArea.right} - width), workArea.left);
  top = std::max<int64_t>(std::min<int64_t>(top, int64_t{workArea.bottom} - height), workArea.top);
  Placement placed;
  placed.left = static_cast<int>(left);
  placed.top = static_cast<int>(top);
  placed.right = static_cast<int>(left + width);
  placed.bottom = static_cast<int>(top + height);
  return placed;
}
