// SPDX-License-Identifier: MIT
#pragma once
// The pointer on GNOME's Wayland session: GNOME Shell answers through the
// RetikonX pointer extension that the settings pane installs, one call on
// the session bus per tick. GNOME Shell loads a new extension only at login,
// so until then the pointer is unknown and the reason says what to do.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/pointer/gnome_pointer_extension.h"
#include "platform/pointer/pointer_source.h"

struct sd_bus;

namespace platform {

class EventLoop;

// Clutter's modifier mask in the settings' layout: Super is command, Alt
// (Mod1) option; Num Lock and the buttons are dropped.
uint32_t modifiersFromClutter(uint32_t state);

class GnomeShellPointerSource : public PointerSource {
 public:
  // toPrimary turns GNOME's stage coordinates, which are XWayland's root
  // coordinates too, into the pointer relative to the primary screen.
  GnomeShellPointerSource(EventLoop& loop, std::function<Point(int32_t x, int32_t y)> toPrimary);
  ~GnomeShellPointerSource() override;
  GnomeShellPointerSource(const GnomeShellPointerSource&) = delete;
  GnomeShellPointerSource& operator=(const GnomeShellPointerSource&) = delete;

  std::optional<PointerReading> read() override;
  const std::string& whyUnknown() const override { return *why_; }

 private:
  bool connect();
  void disconnect();

  EventLoop& loop_;
  std::function<Point(int32_t, int32_t)> toPrimary_;
  sd_bus* bus_ = nullptr;
  const std::string* why_;
};

}  // namespace platform
