// SPDX-License-Identifier: MIT
#pragma once
// Makes the overlay's windows and looks after them together: exposures,
// the arrival and departure of a compositing manager, and raising them again
// when another window comes over them.
#include <vector>

#include "platform/windowing/window.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_screens.h"

namespace platform::x11 {

class X11Window;

class X11WindowServer : public WindowServer {
 public:
  // The level of the screen saver: above every level an ordinary window gets.
  static constexpr int32_t kScreenSaverLevel = 1000;
  // Room around a window for its shadow.
  static constexpr int32_t kShadowMargin = 10;

  // Windows start without real alpha until setComposited says otherwise.
  X11WindowServer(X11Display& display, X11Screens& screens);
  // The display calls back into this object where it is.
  X11WindowServer(const X11WindowServer&) = delete;
  X11WindowServer& operator=(const X11WindowServer&) = delete;

  std::unique_ptr<Window> createWindow(Rect contentRect, uint32_t styleMask, BackingStore backing,
                                       bool defer) override;
  int32_t windowLevelForKey(int32_t key) const override;

  void setComposited(bool composited);
  bool composited() const { return composited_; }
  // Once per tick: brings the top-level windows back above anything that
  // came over them since.
  void raiseIfCovered();
  // Windows ordered in or out since the last call go on or off the screen
  // now; an order out and back in between two calls changes nothing there.
  // Called before the loop waits, once the pass's requests are made.
  void applyOrdering();
  void orderingChanged() { orderingChanged_ = true; }

  X11Display& display() { return display_; }
  X11Screens& screens() { return screens_; }
  void forget(X11Window* window);

 private:
  void handle(const xcb_generic_event_t& event);
  X11Window* find(xcb_window_t id) const;

  X11Display& display_;
  X11Screens& screens_;
  bool composited_ = false;
  bool covered_ = false;
  bool orderingChanged_ = false;
  std::vector<X11Window*> windows_;  // in the order made, which is the order they stack in
  EventHandlerToken events_;
};

}  // namespace platform::x11
