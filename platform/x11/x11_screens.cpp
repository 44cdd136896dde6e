// SPDX-License-Identifier: MIT
#include "x11_screens.h"

#include <xcb/randr.h>

#include "platform/x11/xcb_cairo_owners.h"

namespace platform::x11 {

X11Screens::X11Screens(X11Display& display) : display_(display) {
  if (!display_.randrEventBase()) return;
  xcb_randr_select_input(display_.connection(), display_.root(),
                         XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                             XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
  randrEvents_ = display_.addEventHandler([this](const xcb_generic_event_t& event) {
    const uint8_t type = event.response_type & 0x7f;
    const uint8_t base = display_.randrEventBase();
    if (type == base + XCB_RANDR_SCREEN_CHANGE_NOTIFY || type == base + XCB_RANDR_NOTIFY) stale_ = true;
  });
}

std::optional<Size> X11Screens::primaryScreenSize() {
  const Box screen = primary();
  if (screen.empty()) return std::nullopt;
  return Size{static_cast<float>(screen.width), static_cast<float>(screen.height)};
}

Box X11Screens::primary() {
  if (stale_) refresh();
  return primary_;
}

Box X11Screens::root() {
  if (stale_) refresh();
  return root_;
}

void X11Screens::refresh() {
  stale_ = false;
  xcb_connection_t* c = display_.connection();
  XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, display_.root()), nullptr));
  root_ = geometry ? Box{0, 0, geometry->width, geometry->height} : Box{};
  primary_ = primaryOutput().value_or(root_);
}

std::optional<Box> X11Screens::primaryOutput() {
  if (!display_.randrEventBase()) return std::nullopt;
  xcb_connection_t* c = display_.connection();
  XcbReply<xcb_randr_get_output_primary_reply_t> primary(
      xcb_randr_get_output_primary_reply(c, xcb_randr_get_output_primary(c, display_.root()), nullptr));
  const xcb_randr_output_t output = primary ? primary->output : XCB_NONE;
  if (output == XCB_NONE) return std::nullopt;

  XcbReply<xcb_randr_get_output_info_reply_t> info(
      xcb_randr_get_output_info_reply(c, xcb_randr_get_output_info(c, output, XCB_CURRENT_TIME), nullptr));
  const xcb_randr_crtc_t crtc = info ? info->crtc : XCB_NONE;
  if (crtc == XCB_NONE) return std::nullopt;

  XcbReply<xcb_randr_get_crtc_info_reply_t> crtcInfo(
      xcb_randr_get_crtc_info_reply(c, xcb_randr_get_crtc_info(c, crtc, XCB_CURRENT_TIME), nullptr));
  if (!crtcInfo || !crtcInfo->width || !crtcInfo->height) return std::nullopt;
  return Box{crtcInfo->x, crtcInfo->y, crtcInfo->width, crtcInfo->height};
}

}  // namespace platform::x11
