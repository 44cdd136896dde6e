// SPDX-License-Identifier: MIT
#pragma once
// The coordinate types of the window system as the overlay sees it.
#include <cstdint>

namespace platform {

// A window frame: (x, y) is the bottom-left corner, measured from the
// primary screen's bottom-left corner with y growing upwards.
struct Rect {
  float x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// The pointer: measured from the primary screen's top-left corner, v growing
// downwards.
struct Point {
  int16_t v = 0;
  int16_t h = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  float width = 0, height = 0;
  bool operator==(const Size&) const = default;
};

}  // namespace platform
