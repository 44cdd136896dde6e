// SPDX-License-Identifier: MIT
#include "compositor_watch.h"

#include <xcb/xfixes.h>

#include <string>

#include "platform/x11/xcb_cairo_owners.h"

namespace platform::x11 {

CompositorWatch::CompositorWatch(X11Display& display, std::function<void(bool)> changed)
    : display_(display),
      selection_(display.atom("_NET_WM_CM_S" + std::to_string(display.screenNumber()))),
      changed_(std::move(changed)) {
  if (display_.xfixesEventBase()) {
    xcb_xfixes_select_selection_input(display_.connection(), display_.root(), selection_,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    selectionEvents_ = display_.addEventHandler([this](const xcb_generic_event_t& event) {
      if ((event.response_type & 0x7f) != display_.xfixesEventBase() + XCB_XFIXES_SELECTION_NOTIFY) return;
      const bool now = ownerPresent();
      if (now == running_) return;
      running_ = now;
      changed_(running_);
    });
  }
  running_ = ownerPresent();
}

bool CompositorWatch::ownerPresent() const {
  // Real alpha needs a visual to carry it as well as a manager to blend it.
  if (!display_.argbVisual()) return false;
  xcb_connection_t* c = display_.connection();
  XcbReply<xcb_get_selection_owner_reply_t> reply(
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection_), nullptr));
  return reply && reply->owner != XCB_NONE;
}

}  // namespace platform::x11
