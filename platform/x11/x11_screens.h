// SPDX-License-Identifier: MIT
#pragma once
// The primary screen: the CRTC of RandR's primary output, or the whole X
// screen when RandR names none. Asked again only after RandR reports a change.
#include <optional>

#include "platform/windowing/input.h"
#include "platform/x11/x11_conversion.h"
#include "platform/x11/x11_display.h"

namespace platform::x11 {

class X11Screens : public ScreenList {
 public:
  explicit X11Screens(X11Display& display);
  // The display calls back into this object where it is.
  X11Screens(const X11Screens&) = delete;
  X11Screens& operator=(const X11Screens&) = delete;

  std::optional<Size> primaryScreenSize() override;
  // The primary screen's place on the root window; empty when there is none.
  Box primary();
  Box root();

 private:
  void refresh();
  std::optional<Box> primaryOutput();

  X11Display& display_;
  bool stale_ = true;
  Box primary_, root_;
  EventHandlerToken randrEvents_;
};

}  // namespace platform::x11
