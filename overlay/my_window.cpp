// SPDX-License-Identifier: MIT
#include "my_window.h"

namespace retikonx {

std::unique_ptr<platform::Window> MyWindow::initWithContentRect(platform::WindowServer& server,
                                                                platform::Rect contentRect, uint32_t,
                                                                platform::BackingStore, bool) {
  auto window =
      server.createWindow(contentRect, platform::kBorderlessWindowMask, platform::BackingStore::Buffered, false);
  window->setBackgroundColor(platform::clearColor());
  window->setLevel(server.windowLevelForKey(platform::kScreenSaverWindowLevelKey));
  window->setAlphaValue(1.0f);
  window->setOpaque(false);
  window->setHasShadow(false);
  return window;
}

}  // namespace retikonx
