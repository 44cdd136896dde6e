// SPDX-License-Identifier: MIT
#pragma once
// The sums between the overlay's coordinates and the X server's, kept apart
// from any connection so they can be checked on their own.
#include <cstdint>

#include "platform/windowing/geometry.h"

namespace platform::x11 {

// A rectangle in root-window pixels, top-left origin.
struct Box {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool empty() const { return width <= 0 || height <= 0; }
  bool operator==(const Box&) const = default;
};

// X's modifier state as the mask of platform/windowing/input.h: Mod4
// (Super) is command, Shift shift, Lock an engaged caps lock, Mod1 (Alt)
// option, Control control. Num Lock and the other bits have no place in it.
uint32_t modifierMaskFromState(uint16_t state);

// A frame (bottom-left origin, y up, relative to the primary screen) as
// root-window pixels: top = sh - (y + height), shifted by the primary
// screen's place on the root window. Frames of no size give an empty box.
Box boxFromFrame(Rect frame, Box primary);

Box inflated(Box box, int32_t margin);
Box intersection(Box a, Box b);

// The part of the plane a window may cover: the root window with room on
// every side, kept inside the 16-bit coordinates of the protocol.
Box representableArea(Box root);

// The pointer relative to the primary screen, saturated to 16 bits.
Point pointerFromRoot(int32_t rootX, int32_t rootY, Box primary);

}  // namespace platform::x11
