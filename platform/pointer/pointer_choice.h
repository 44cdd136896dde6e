// SPDX-License-Identifier: MIT
#pragma once
// Which pointer source a session gets. An X11 session asks the X server. On
// a Wayland desktop the overlay runs on XWayland, whose server knows the
// pointer only while it is over an X window, so the compositor has to say
// where it is; where it will not, the crosshair stays hidden, and the reason
// tells the user what would make it work.
#include <string>

#include "platform/desktop/desktop_session.h"

namespace platform {

enum class PointerSourceKind { XServer, GnomeShell, KWinScript, None };

struct PointerSourceChoice {
  PointerSourceKind kind = PointerSourceKind::XServer;
  std::string whyNone;  // for None
};

PointerSourceChoice choosePointerSource(const DesktopSession& session);

}  // namespace platform
