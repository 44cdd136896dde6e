// SPDX-License-Identifier: MIT
#include "x11_input.h"

#include "platform/x11/xcb_cairo_owners.h"

namespace platform::x11 {

std::optional<PointerReading> X11PointerSource::read() {
  xcb_connection_t* c = display_.connection();
  XcbReply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(c, xcb_query_pointer(c, display_.root()), nullptr));
  if (!reply) return std::nullopt;
  return PointerReading{pointerFromRoot(reply->root_x, reply->root_y, screens_.primary()),
                        modifierMaskFromState(reply->mask)};
}

}  // namespace platform::x11
