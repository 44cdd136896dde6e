// SPDX-License-Identifier: MIT
#include "platform/desktop/desktop_session.h"

#include <strings.h>

#include <cstdlib>

namespace platform {

DesktopSession DesktopSession::from(const char* currentDesktop, const char* sessionType, const char* display,
                                    const char* waylandDisplay) {
  DesktopSession session;
  std::string_view list = currentDesktop ? currentDesktop : "";
  while (!list.empty()) {
    size_t colon = list.find(':');
    std::string_view name = list.substr(0, colon);
    if (!name.empty()) session.desktops.emplace_back(name);
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
  }
  std::string_view type = sessionType ? sessionType : "";
  session.wayland = type == "wayland" || (waylandDisplay && *waylandDisplay);
  session.x11 = !session.wayland && (type == "x11" || (type.empty() && display && *display));
  return session;
}

DesktopSession DesktopSession::fromEnvironment() {
  return from(std::getenv("XDG_CURRENT_DESKTOP"), std::getenv("XDG_SESSION_TYPE"), std::getenv("DISPLAY"),
              std::getenv("WAYLAND_DISPLAY"));
}

bool DesktopSession::is(std::string_view desktop) const {
  for (const std::string& name : desktops)
    if (name.size() == desktop.size() && strncasecmp(name.data(), desktop.data(), desktop.size()) == 0) return true;
  return false;
}

}  // namespace platform
