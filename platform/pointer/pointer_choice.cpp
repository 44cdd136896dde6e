// SPDX-License-Identifier: MIT
#include "platform/pointer/pointer_choice.h"

namespace platform {
namespace {

std::string desktopName(const DesktopSession& session) {
  std::string name;
  for (const std::string& desktop : session.desktops) name += (name.empty() ? "" : ":") + desktop;
  return name.empty() ? "XDG_CURRENT_DESKTOP is not set" : name;
}

}  // namespace

PointerSourceChoice choosePointerSource(const DesktopSession& session) {
  if (!session.wayland) return {PointerSourceKind::XServer, {}};
  const std::string lead =
      "The crosshair cannot follow the pointer here and stays hidden: on Wayland, programs on XWayland see the "
      "pointer only while it is over their own windows, ";
  if (session.isGnome()) return {PointerSourceKind::GnomeShell, {}};
  if (session.isKde()) return {PointerSourceKind::KWinScript, {}};
  return {PointerSourceKind::None,
          lead + "and this desktop (" + desktopName(session) +
              ") offers no other way to ask for it. The crosshair follows the pointer in an X11 session and on GNOME."};
}

}  // namespace platform
