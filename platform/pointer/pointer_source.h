// SPDX-License-Identifier: MIT
#pragma once
// Where the pointer and the held modifiers come from in this session: the X
// server itself, or the Wayland compositor that XWayland runs under.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/windowing/geometry.h"

namespace platform {

struct PointerReading {
  Point pointer;           // relative to the primary screen's top-left corner
  uint32_t modifiers = 0;  // the bits of platform/windowing/input.h (kCommandKey ...)
};

class PointerSource {
 public:
  virtual ~PointerSource() = default;
  // Nothing when the session does not say where the pointer is now.
  virtual std::optional<PointerReading> read() = 0;
  // After a read that gave nothing: why, and what would make it work, in
  // words for the user.
  virtual const std::string& whyUnknown() const = 0;
  // What the user should know about the modifiers this source gives, in
  // words for the user; empty when they are always right.
  virtual const std::string& modifiersCaveat() const {
    static const std::string none;
    return none;
  }
};

// The source of a session that gives no pointer at all.
class NoPointerSource : public PointerSource {
 public:
  explicit NoPointerSource(std::string why) : why_(std::move(why)) {}
  std::optional<PointerReading> read() override { return std::nullopt; }
  const std::string& whyUnknown() const override { return why_; }

 private:
  std::string why_;
};

}  // namespace platform
