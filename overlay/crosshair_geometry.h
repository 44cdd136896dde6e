// SPDX-License-Identifier: MIT
#pragma once
// Where the crosshair's four arms and the readout go, from the pointer, the
// primary screen's size and the settings alone.
#include <array>
#include <cstdint>

#include "platform/windowing/geometry.h"

namespace retikonx {

// In the order left, right, lower, upper.
using ArmFrames = std::array<platform::Rect, 4>;

// The arms' thickness and the gap they leave around the pointer, as the
// settings give them.
struct ArmMeasures {
  int32_t width = 0;
  int32_t distance = 0;
};

ArmFrames crossLineFrames(platform::Point pointer, platform::Size screen, ArmMeasures measures);

// Always 90 x 19, beside the pointer, kept clear of the left and top edges.
platform::Rect pointWindowFrame(int16_t h, int16_t v, float sh);

}  // namespace retikonx
