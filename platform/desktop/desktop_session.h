// SPDX-License-Identifier: MIT
#pragma once
// Which desktop the pane runs on, as the session announces it.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct DesktopSession {
  std::vector<std::string> desktops;  // XDG_CURRENT_DESKTOP, in its order
  bool x11 = false;                   // an X11 session (not a Wayland one with Xwayland)
  bool wayland = false;

  // XDG_CURRENT_DESKTOP is a colon-separated list; XDG_SESSION_TYPE says
  // x11 or wayland. A WAYLAND_DISPLAY makes it a Wayland session whatever
  // the type says (programs started from it inherit it). A session that
  // names no type is an X11 one when it has a DISPLAY (a bare window manager
  // started by startx).
  static DesktopSession from(const char* currentDesktop, const char* sessionType, const char* display,
                             const char* waylandDisplay = nullptr);
  static DesktopSession fromEnvironment();

  // Letter case aside, as desktops spell themselves differently.
  bool is(std::string_view desktop) const;
  bool isGnome() const { return is("GNOME") || is("ubuntu") || is("Budgie"); }
  bool isXfce() const { return is("XFCE"); }
  bool isKde() const { return is("KDE"); }
  // Desktops whose own programs are GTK ones.
  bool isGtkBased() const { return isGnome() || isXfce() || is("X-Cinnamon") || is("Cinnamon") || is("MATE"); }
};

}  // namespace platform
