// SPDX-License-Identifier: MIT
#pragma once
// Whether a compositing manager runs: the owner of _NET_WM_CM_S<screen>,
// followed as managers come and go.
#include <functional>

#include "platform/x11/x11_display.h"

namespace platform::x11 {

class CompositorWatch {
 public:
  CompositorWatch(X11Display& display, std::function<void(bool running)> changed);
  // The display calls back into this object where it is.
  CompositorWatch(const CompositorWatch&) = delete;
  CompositorWatch& operator=(const CompositorWatch&) = delete;
  bool running() const { return running_; }

 private:
  bool ownerPresent() const;

  X11Display& display_;
  xcb_atom_t selection_;
  bool running_ = false;
  std::function<void(bool)> changed_;
  EventHandlerToken selectionEvents_;
};

}  // namespace platform::x11
