// SPDX-License-Identifier: MIT
#pragma once
// The pointer, the held modifiers and the screens, read when asked.
#include <cstdint>
#include <optional>

#include "platform/windowing/geometry.h"

namespace platform {

class Input {
 public:
  virtual ~Input() = default;
  // False when the session does not tell where the pointer is now (a Wayland
  // desktop that keeps it from programs on XWayland): there is nothing to
  // place a crosshair around.
  virtual bool pointerKnown() = 0;
  virtual Point getMouse() = 0;
  // Held modifiers in the settings' mask layout (settings::kCommandKey ...).
  virtual uint32_t getCurrentKeyModifiers() = 0;
};

class ScreenList {
 public:
  virtual ~ScreenList() = default;
  // The primary screen's size; nothing when the window system reports no screen.
  virtual std::optional<Size> primaryScreenSize() = 0;
};

}  // namespace platform
