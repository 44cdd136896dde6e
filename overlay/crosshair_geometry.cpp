#include "crosshair_geometry.h"

#include <algorithm>
#include <limits>

namespace retikonx {
namespace {

// Widths and gaps come from a file that can be edited by hand, so the integer
// sums saturate at the 32-bit limits instead of wrapping round.
int32_t saturated(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

float f(int32_t value) { return static_cast<float>(value); }

}  // namespace

ArmFrames crossLineFrames(int16_t h, int16_t v, float sw, float sh, int32_t width, int32_t distance) {
  const int32_t k = width == 1 ? 1 : 2;
  const int32_t a = width / k;
  const float lh = (sw + sw) - 2.0f;
  const float lv = (sh + sh) - 2.0f;
  const float yp = sh - f(v);
  const float w = f(width);
  const float d = f(distance);

  const float rightX = f(saturated(int64_t{h} + a + distance));
  const float verticalX = f(saturated(int64_t{h} - a));

  return {{
      {((f(h) - lh) - f(a)) - d, yp - f(a), lh, w},
      {rightX, yp - f(a), lh, w},
      {verticalX, (((sh - lv) - f(v)) - f(a)) - d, w, lv},
      {verticalX, ((sh - f(v)) + f(a)) + d, w, lv},
  }};
}

platform::Rect pointWindowFrame(int16_t h, int16_t v, float sh) {
  constexpr float kWidth = 90, kHeight = 19, kOffset = 20;
  const float x = f(h) > 110.0f ? (f(h) - kOffset) - kWidth : f(h) + kOffset;
  const float y = v < 39 ? ((sh - f(v)) - kOffset) - kHeight : kOffset + (sh - f(v));
  return {x, y, kWidth, kHeight};
}

}  // namespace retikonx
