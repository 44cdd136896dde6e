// SPDX-License-Identifier: MIT
#pragma once
// The pointer, the held modifiers and the screens, read when asked.
#include <cstdint>
#include <optional>

#include "platform/windowing/geometry.h"

namespace platform {

// The modifier keys as bits of one mask. Every source of input reports the
// held keys in this layout, whatever its window system calls them, and
// masks kept elsewhere (such as the keys a user chose) use it too.
inline constexpr uint32_t kCommandKey = 0x0100;  // the logo (Super) key
inline constexpr uint32_t kShiftKey = 0x0200;
inline constexpr uint32_t kCapsLockKey = 0x0400;  // set while Caps Lock is on
inline constexpr uint32_t kOptionKey = 0x0800;    // Alt
inline constexpr uint32_t kControlKey = 0x1000;

class Input {
 public:
  virtual ~Input() = default;
  // False when the session does not tell where the pointer is now (a Wayland
  // desktop that keeps it from programs on XWayland): there is nothing to
  // place a crosshair around.
  virtual bool pointerKnown() = 0;
  virtual Point getMouse() = 0;
  // The modifiers held now, as the bits above (kCommandKey ...).
  virtual uint32_t getCurrentKeyModifiers() = 0;
};

class ScreenList {
 public:
  virtual ~ScreenList() = default;
  // The primary screen's size; nothing when the window system reports no screen.
  virtual std::optional<Size> primaryScreenSize() = 0;
};

}  // namespace platform
