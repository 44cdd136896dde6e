// SPDX-License-Identifier: MIT
#include "pane/tweaks/desktop_effects.h"

#include <algorithm>
#include <cmath>

#include "pane/tweaks/global_preferences.h"

namespace vantrel {
namespace {

constexpr double kSlowestScaling = 0.0;
constexpr double kFastestScaling = 3.0;

}  // namespace

double desktopPointerSpeed(float scaling) {
  if (!std::isfinite(scaling)) return 0.0;
  // The stored default as stored (1.70000005), so that it and the slider's
  // ends land exactly on 0, -1 and 1.
  const double middle = static_cast<double>(kDefaultScaling);
  const double s = scaling;
  const double speed = s < middle ? (s - middle) / (middle - kSlowestScaling) : (s - middle) / (kFastestScaling - middle);
  return std::clamp(speed, -1.0, 1.0);
}

platform::ScrollBarSteppers steppersFor(ScrollBarPlacement placement) {
  switch (placement) {
    case ScrollBarPlacement::Single: return {.backward = true, .forward = true, .secondaryBackward = false, .secondaryForward = false};
    case ScrollBarPlacement::DoubleMin: return {.backward = true, .forward = false, .secondaryBackward = false, .secondaryForward = true};
    case ScrollBarPlacement::DoubleMax: return {.backward = false, .forward = true, .secondaryBackward = true, .secondaryForward = false};
    case ScrollBarPlacement::DoubleBoth: return {.backward = true, .forward = true, .secondaryBackward = true, .secondaryForward = true};
  }
  return {};
}

}  // namespace vantrel
