// SPDX-License-Identifier: MIT
#include "display_check.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace platform {

Status checkDisplay() {
  // Another toolkit platform (offscreen, wayland) needs no X server.
  const char* qpa = std::getenv("QT_QPA_PLATFORM");
  if (qpa && *qpa && std::string_view(qpa) != "xcb") return {};
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    if (!qpa && std::getenv("WAYLAND_DISPLAY")) return {};
    return fail("no display: DISPLAY is not set");
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool failed = xcb_connection_has_error(connection) != 0;
  xcb_disconnect(connection);
  if (failed) return fail("cannot connect to display " + std::string(display));
  return {};
}

}  // namespace platform
