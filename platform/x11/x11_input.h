// SPDX-License-Identifier: MIT
#pragma once
// The pointer and the held modifiers of an X11 session: one query of the
// root window gives both.
#include "platform/pointer/pointer_source.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_screens.h"

namespace platform::x11 {

class X11PointerSource : public PointerSource {
 public:
  X11PointerSource(X11Display& display, X11Screens& screens) : display_(display), screens_(screens) {}

  std::optional<PointerReading> read() override;
  const std::string& whyUnknown() const override { return why_; }

 private:
  X11Display& display_;
  X11Screens& screens_;
  const std::string why_ = "the X server did not say where the pointer is";
};

}  // namespace platform::x11
