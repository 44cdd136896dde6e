// SPDX-License-Identifier: MIT
#pragma once
// Caps Lock on KDE Plasma's Wayland session, the one modifier whose state
// KWin tells programs, through its key-state protocol. KWin offers the
// protocol only to a program whose desktop entry names it
// (X-KDE-Wayland-Interfaces=org_kde_kwin_keystate); RetikonX's does.
#include <optional>

#include "platform/event/systemd_owners.h"

struct wl_display;
struct wl_registry;
struct org_kde_kwin_keystate;

namespace platform {

class EventLoop;

class KWinKeyState {
 public:
  // Connects to the compositor WAYLAND_DISPLAY names and asks for the states.
  explicit KWinKeyState(EventLoop& loop);
  ~KWinKeyState();
  KWinKeyState(const KWinKeyState&) = delete;
  KWinKeyState& operator=(const KWinKeyState&) = delete;

  // Nothing when KWin does not tell: no Wayland display, the protocol
  // refused to this program, or the connection lost.
  std::optional<bool> capsLocked() const { return capsLocked_; }

 private:
  void disconnect();
  friend struct KeyStateListeners;

  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  org_kde_kwin_keystate* keystate_ = nullptr;
  OwnedEventSource watch_;
  std::optional<bool> capsLocked_;
};

}  // namespace platform
