// SPDX-License-Identifier: MIT
#pragma once
// The pointer on GNOME's Wayland session, from the RetikonX pointer
// extension that the settings pane installs in GNOME Shell. The overlay asks
// it once for the pointer and the held modifiers, then keeps what the
// extension announces on the session bus whenever they change, so a resting
// pointer costs the shell next to nothing; it asks again every five seconds,
// to find an extension that went away. GNOME Shell loads a new extension only at
// login, so until then the pointer is unknown and the reason says what to do.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/event/systemd_owners.h"
#include "platform/pointer/gnome_pointer_extension.h"
#include "platform/pointer/pointer_source.h"

namespace platform {

class EventLoop;

// Clutter's modifier mask as the mask of platform/windowing/input.h: Super
// is command, Alt (Mod1) option; Num Lock and the buttons are dropped.
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
  // What the extension said last: stage coordinates and Clutter's mask.
  struct ShellState {
    int32_t x = 0, y = 0;
    uint32_t modifiers = 0;
  };

  bool connect();
  void disconnect();
  void ask();
  // The bus's callbacks, which reach the members.
  friend struct GnomeBusCallbacks;

  EventLoop& loop_;
  std::function<Point(int32_t, int32_t)> toPrimary_;
  // The matches go before the bus they are on.
  OwnedBus bus_;
  OwnedBusSlot changes_;
  OwnedBusSlot shellOwner_;
  std::optional<std::chrono::steady_clock::time_point> lastAsk_;
  std::optional<ShellState> state_;
  const std::string* why_;
};

}  // namespace platform
