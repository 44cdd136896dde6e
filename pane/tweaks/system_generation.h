// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

namespace vantrel {

// The system generation from an AppKit version number: 0 below 620, 1 below
// 663, 2 below 743, else 3. The number is rounded down first; one that
// compares with nothing (NaN) counts as the newest generation.
int32_t versionCheck(double appKitVersionNumber);

// Generations below this one have no file manager zoom animation setting.
inline constexpr int32_t kZoomGeneration = 3;

}  // namespace vantrel
