// SPDX-License-Identifier: MIT
#include "x11_display.h"

#include <xcb/randr.h>
#include <xcb/shape.h>
#include <xcb/xfixes.h>

#include "platform/x11/xcb_cairo_owners.h"

namespace platform::x11 {
namespace {

xcb_visualtype_t* findVisual(xcb_screen_t* screen, uint8_t depth, xcb_visualid_t id) {
  for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
    if (depth && d.data->depth != depth) continue;
    for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
      if (id ? v.data->visual_id == id : v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) return v.data;
    }
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<X11Display> X11Display::open() {
  int screenNumber = 0;
  XcbConnection connection(xcb_connect(nullptr, &screenNumber));
  if (xcb_connection_has_error(connection.get())) return nullptr;
  return std::unique_ptr<X11Display>(new X11Display(std::move(connection), screenNumber));
}

X11Display::X11Display(XcbConnection connection, int screenNumber)
    : connection_(std::move(connection)), screenNumber_(screenNumber) {
  xcb_connection_t* const c = connection_.get();
  auto it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNumber_ && it.rem; ++i) xcb_screen_next(&it);
  screen_ = it.data;
  rootVisual_ = findVisual(screen_, 0, screen_->root_visual);
  argbVisual_ = findVisual(screen_, 32, 0);

  if (auto* randr = xcb_get_extension_data(c, &xcb_randr_id); randr && randr->present) {
    XcbReply<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 3), nullptr));
    if (version) randrEventBase_ = randr->first_event;
  }
  if (auto* xfixes = xcb_get_extension_data(c, &xcb_xfixes_id); xfixes && xfixes->present) {
    // The extension answers nothing until the client has told its version.
    XcbReply<xcb_xfixes_query_version_reply_t> version(
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
    if (version) xfixesEventBase_ = xfixes->first_event;
  }
  if (auto* shape = xcb_get_extension_data(c, &xcb_shape_id); shape && shape->present) hasShape_ = true;
}

X11Display::~X11Display() = default;

xcb_atom_t X11Display::atom(const std::string& name) const {
  XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      connection(), xcb_intern_atom(connection(), 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

EventHandlerToken X11Display::addEventHandler(std::function<void(const xcb_generic_event_t&)> handler) {
  handlers_.emplace_back(++lastHandler_, std::move(handler));
  return EventHandlerToken(*this, lastHandler_);
}

void X11Display::removeEventHandler(uint64_t id) {
  std::erase_if(handlers_, [id](const auto& entry) { return entry.first == id; });
}

void X11Display::dispatch(bool queuedOnly) {
  while (XcbReply<xcb_generic_event_t> event{queuedOnly ? xcb_poll_for_queued_event(connection())
                                                         : xcb_poll_for_event(connection())}) {
    for (auto& [id, handler] : handlers_) handler(*event);
  }
}

EventHandlerToken::EventHandlerToken(EventHandlerToken&& other) noexcept
    : display_(std::exchange(other.display_, nullptr)), id_(other.id_) {}

EventHandlerToken& EventHandlerToken::operator=(EventHandlerToken&& other) noexcept {
  if (this != &other) {
    reset();
    display_ = std::exchange(other.display_, nullptr);
    id_ = other.id_;
  }
  return *this;
}

EventHandlerToken::~EventHandlerToken() { reset(); }

void EventHandlerToken::reset() {
  if (display_) display_->removeEventHandler(id_);
  display_ = nullptr;
}

}  // namespace platform::x11
