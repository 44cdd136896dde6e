// SPDX-License-Identifier: MIT
#pragma once
// The connection to the X server: the screen, the extensions the overlay
// uses, and the hand-out of incoming events to whoever asked for them.
#include <xcb/xcb.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/x11/xcb_owners.h"

namespace platform::x11 {

class X11Display;

// An event handler's place on the display: the handler is called until the
// token is destroyed. An empty token holds none.
class EventHandlerToken {
 public:
  EventHandlerToken() = default;
  EventHandlerToken(EventHandlerToken&& other) noexcept;
  EventHandlerToken& operator=(EventHandlerToken&& other) noexcept;
  EventHandlerToken(const EventHandlerToken&) = delete;
  EventHandlerToken& operator=(const EventHandlerToken&) = delete;
  ~EventHandlerToken();

 private:
  friend class X11Display;
  EventHandlerToken(X11Display& display, uint64_t id) : display_(&display), id_(id) {}
  void reset();

  X11Display* display_ = nullptr;
  uint64_t id_ = 0;
};

class X11Display {
 public:
  // Nothing when no X server can be reached.
  static std::unique_ptr<X11Display> open();
  ~X11Display();
  X11Display(const X11Display&) = delete;
  X11Display& operator=(const X11Display&) = delete;

  xcb_connection_t* connection() const { return connection_.get(); }
  xcb_screen_t* screen() const { return screen_; }
  int screenNumber() const { return screenNumber_; }
  xcb_window_t root() const { return screen_->root; }
  xcb_visualtype_t* rootVisual() const { return rootVisual_; }
  // A 32-bit TrueColor visual for windows with real alpha; null without one.
  xcb_visualtype_t* argbVisual() const { return argbVisual_; }

  // First event codes of the extensions; 0 when the server lacks one.
  uint8_t randrEventBase() const { return randrEventBase_; }
  uint8_t xfixesEventBase() const { return xfixesEventBase_; }
  bool hasShape() const { return hasShape_; }

  xcb_atom_t atom(const std::string& name) const;

  // The token must go before the display; the handler may not drop a
  // token, its own or another's.
  [[nodiscard]] EventHandlerToken addEventHandler(std::function<void(const xcb_generic_event_t&)> handler);
  // Hands out every event already read (queuedOnly) or readable now.
  void dispatch(bool queuedOnly);
  bool broken() const { return xcb_connection_has_error(connection_.get()) != 0; }

 private:
  friend class EventHandlerToken;
  X11Display(XcbConnection connection, int screenNumber);
  void removeEventHandler(uint64_t id);

  XcbConnection connection_;  // closed after the handlers are gone
  int screenNumber_;
  xcb_screen_t* screen_ = nullptr;
  xcb_visualtype_t* rootVisual_ = nullptr;
  xcb_visualtype_t* argbVisual_ = nullptr;
  uint8_t randrEventBase_ = 0, xfixesEventBase_ = 0;
  bool hasShape_ = false;
  std::vector<std::pair<uint64_t, std::function<void(const xcb_generic_event_t&)>>> handlers_;
  uint64_t lastHandler_ = 0;
};

}  // namespace platform::x11
