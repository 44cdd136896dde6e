// SPDX-License-Identifier: MIT
#include "x11_window_server.h"

#include <algorithm>

#include "platform/x11/x11_window.h"

namespace platform::x11 {

X11WindowServer::X11WindowServer(X11Display& display, X11Screens& screens)
    : display_(display), screens_(screens) {
  // Every window that appears or moves on the root window may cover ours.
  const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(display_.connection(), display_.root(), XCB_CW_EVENT_MASK, &events);
  events_ = display_.addEventHandler([this](const xcb_generic_event_t& event) { handle(event); });
}

std::unique_ptr<Window> X11WindowServer::createWindow(Rect contentRect, uint32_t, BackingStore, bool) {
  auto window = std::make_unique<X11Window>(*this, contentRect);
  windows_.push_back(window.get());
  return window;
}

int32_t X11WindowServer::windowLevelForKey(int32_t key) const {
  return key == kScreenSaverWindowLevelKey ? kScreenSaverLevel : 0;
}

void X11WindowServer::forget(X11Window* window) { std::erase(windows_, window); }

X11Window* X11WindowServer::find(xcb_window_t id) const {
  for (X11Window* window : windows_)
    if (window->id() == id) return window;
  return nullptr;
}

void X11WindowServer::setComposited(bool composited) {
  if (composited == composited_) return;
  composited_ = composited;
  for (X11Window* window : windows_) window->rebuild();
}

void X11WindowServer::handle(const xcb_generic_event_t& event) {
  switch (event.response_type & 0x7f) {
    case XCB_EXPOSE: {
      const auto& expose = reinterpret_cast<const xcb_expose_event_t&>(event);
      if (expose.count == 0)
        if (X11Window* window = find(expose.window)) window->repaint();
      break;
    }
    case XCB_MAP_NOTIFY: {
      const auto& map = reinterpret_cast<const xcb_map_notify_event_t&>(event);
      if (!find(map.window)) covered_ = true;
      break;
    }
    case XCB_CONFIGURE_NOTIFY: {
      const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
      if (configure.event == display_.root() && !find(configure.window)) covered_ = true;
      break;
    }
    case XCB_CIRCULATE_NOTIFY: covered_ = true; break;
    default: break;
  }
}

void X11WindowServer::applyOrdering() {
  if (!orderingChanged_) return;
  orderingChanged_ = false;
  for (X11Window* window : windows_) window->applyOrdering();
}

void X11WindowServer::raiseIfCovered() {
  if (!covered_) return;
  covered_ = false;
  for (X11Window* window : windows_)
    if (window->level() >= kScreenSaverLevel) window->raise();
}

}  // namespace platform::x11
