// SPDX-License-Identifier: MIT
#pragma once
// The window of one crosshair arm (and of the readout): borderless, buffered
// and created at once whatever its creator asks for (styleMask, backing and
// defer are ignored: an arm with a title bar, or one not drawn at once, would
// not be an arm), transparent where nothing is drawn, above every other
// window, and without a shadow until the settings ask for one.
#include <memory>

#include "platform/windowing/window.h"

namespace retikonx {

struct MyWindow {
  static std::unique_ptr<platform::Window> initWithContentRect(platform::WindowServer& server,
                                                               platform::Rect contentRect, uint32_t styleMask,
                                                               platform::BackingStore backing, bool defer);
};

}  // namespace retikonx
