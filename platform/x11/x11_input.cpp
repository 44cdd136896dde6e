// SPDX-License-Identifier: MIT
#include "x11_input.h"

#include "platform/x11/xcb_cairo_owners.h"

namespace platform::x11 {

const X11Input::Answer& X11Input::query() {
  if (answer_) return *answer_;
  xcb_connection_t* c = display_.connection();
  XcbReply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(c, xcb_query_pointer(c, display_.root()), nullptr));
  Answer answer;
  if (reply) {
    answer.pointer = pointerFromRoot(reply->root_x, reply->root_y, screens_.primary());
    answer.modifiers = modifierMaskFromState(reply->mask);
  }
  answer_ = answer;
  return *answer_;
}

Point X11Input::getMouse() { return query().pointer; }

uint32_t X11Input::getCurrentKeyModifiers() { return query().modifiers; }

}  // namespace platform::x11
