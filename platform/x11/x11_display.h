// SPDX-License-Identifier: MIT
#pragma once
// The connection to the X server: the screen, the extensions the overlay
// uses, and the hand-out of incoming events to whoever asked for them.
#include <xcb/xcb.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::x11 {

class X11Display {
 public:
  // Nothing when no X server can be reached.
  static std::unique_ptr<X11Display> open();
  ~X11Display();
  X11Display(const X11Display&) = delete;
  X11Display& operator=(const X11Display&) = delete;

  xcb_connection_t* connection() const { return connection_; }
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

  void addEventHandler(std::function<void(const xcb_generic_event_t&)> handler);
  // Hands out every event already read (queuedOnly) or readable now.
  void dispatch(bool queuedOnly);
  bool broken() const { return xcb_connection_has_error(connection_) != 0; }

 private:
  X11Display(xcb_connection_t* connection, int screenNumber);

  xcb_connection_t* connection_;
  int screenNumber_;
  xcb_screen_t* screen_ = nullptr;
  xcb_visualtype_t* rootVisual_ = nullptr;
  xcb_visualtype_t* argbVisual_ = nullptr;
  uint8_t randrEventBase_ = 0, xfixesEventBase_ = 0;
  bool hasShape_ = false;
  std::vector<std::function<void(const xcb_generic_event_t&)>> handlers_;
};

}  // namespace platform::x11
