// SPDX-License-Identifier: MIT
#pragma once
// Time as a caller that waits for something sees it. A window waits by
// running its event loop, so it keeps repainting; tests step it.
#include <chrono>

namespace platform {

class WaitClock {
 public:
  virtual ~WaitClock() = default;
  virtual std::chrono::steady_clock::time_point now() = 0;
  virtual void pause(std::chrono::milliseconds duration) = 0;
};

// For programs without a window: pausing is sleeping.
class SleepingClock final : public WaitClock {
 public:
  std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
  void pause(std::chrono::milliseconds duration) override;
};

}  // namespace platform
