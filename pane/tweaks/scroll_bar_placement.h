// SPDX-License-Identifier: MIT
#pragma once
// Where the scroll bars put their arrows, as the global preferences store it.
#include <array>
#include <optional>
#include <string_view>

namespace vantrel {

enum class ScrollBarPlacement {
  Single,      // one arrow at each end
  DoubleMin,   // both arrows at the top or left end
  DoubleMax,   // both arrows at the bottom or right end
  DoubleBoth,  // a pair of arrows at each end
};

// In the order a stored value is matched against them.
inline constexpr std::array<ScrollBarPlacement, 4> kScrollBarPlacements = {
    ScrollBarPlacement::Single, ScrollBarPlacement::DoubleMin, ScrollBarPlacement::DoubleMax,
    ScrollBarPlacement::DoubleBoth};

std::string_view storedValue(ScrollBarPlacement placement);

// Exact, case-sensitive match; nothing for any other text.
std::optional<ScrollBarPlacement> placementFromStoredValue(std::string_view value);

}  // namespace vantrel
