// SPDX-License-Identifier: MIT
#include "pane/tweaks/scroll_bar_placement.h"

namespace vantrel {

std::string_view storedValue(ScrollBarPlacement placement) {
  switch (placement) {
    case ScrollBarPlacement::Single: return "Single";
    case ScrollBarPlacement::DoubleMin: return "DoubleMin";
    case ScrollBarPlacement::DoubleMax: return "DoubleMax";
    case ScrollBarPlacement::DoubleBoth: return "DoubleBoth";
  }
  return "Single";
}

std::optional<ScrollBarPlacement> placementFromStoredValue(std::string_view value) {
  for (ScrollBarPlacement placement : kScrollBarPlacements)
    if (storedValue(placement) == value) return placement;
  return std::nullopt;
}

}  // namespace vantrel
