// SPDX-License-Identifier: MIT
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

float asFloat(int32_t value) { return static_cast<float>(value); }

}  // namespace

ArmFrames crossLineFrames(platform::Point pointer, platform::Size screen, ArmMeasures measures) {
  const int16_t h = pointer.h, v = pointer.v;
  const float sw = screen.width, sh = screen.height;
  const int32_t width = measures.width, distance = measures.distance;
  // Halving in integers would give a 1-wide arm no half at all.
  const int32_t divisor = width == 1 ? 1 : 2;
  const int32_t halfWidth = width / divisor;
  // About twice the screen, so an arm reaches the edge wherever the pointer is.
  const float horizontalLength = (sw + sw) - 2.0f;
  const float verticalLength = (sh + sh) - 2.0f;
  const float pointerY = sh - asFloat(v);  // the pointer in frame coordinates, y up
  const float thickness = asFloat(width);
  const float gap = asFloat(distance);
  const float half = asFloat(halfWidth);

  const float rightX = asFloat(saturated(int64_t{h} + halfWidth + distance));
  const float verticalX = asFloat(saturated(int64_t{h} - halfWidth));

  return {{
      {((asFloat(h) - horizontalLength) - half) - gap, pointerY - half, horizontalLength, thickness},
      {rightX, pointerY - half, horizontalLength, thickness},
      {verticalX, (((sh - verticalLength) - asFloat(v)) - half) - gap, thickness, verticalLength},
      {verticalX, ((sh - asFloat(v)) + half) + gap, thickness, verticalLength},
  }};
}

platform::Rect pointWindowFrame(int16_t h, int16_t v, float sh) {
  constexpr float kWidth = 90, kHeight = 19, kOffset = 20;
  // Left of the pointer unless that would cross the left edge (110 = width + offset),
  // above it unless that would cross the top edge (39 = height + offset).
  const float x = asFloat(h) > 110.0f ? (asFloat(h) - kOffset) - kWidth : asFloat(h) + kOffset;
  const float y = v < 39 ? ((sh - asFloat(v)) - kOffset) - kHeight : kOffset + (sh - asFloat(v));
  return {x, y, kWidth, kHeight};
}

}  // namespace retikonx
