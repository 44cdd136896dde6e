// SPDX-License-Identifier: MIT
#pragma once
// The window's clock: a pause runs Qt's event loop for that long, so the
// window keeps repainting (and the bus keeps being served) while its
// thread waits for a child process or an application. The user's input
// waits until the pause is over: no second action starts inside the first.
#include "platform/process/wait_clock.h"

namespace platform {

class EventLoopClock final : public WaitClock {
 public:
  std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
  void pause(std::chrono::milliseconds duration) override;
};

}  // namespace platform
