// SPDX-License-Identifier: MIT
#pragma once
// The pointer and the held modifiers from one query of the root window per
// tick: the tick asks for both, the server is asked once.
#include <optional>

#include "platform/windowing/input.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_screens.h"

namespace platform::x11 {

class X11Input : public Input {
 public:
  X11Input(X11Display& display, X11Screens& screens) : display_(display), screens_(screens) {}

  // Forgets the last answer: the next question asks the server again.
  void startTick() { answer_.reset(); }

  Point getMouse() override;
  uint32_t getCurrentKeyModifiers() override;

 private:
  struct Answer {
    Point pointer;
    uint32_t modifiers = 0;
  };
  const Answer& query();

  X11Display& display_;
  X11Screens& screens_;
  std::optional<Answer> answer_;
};

}  // namespace platform::x11
