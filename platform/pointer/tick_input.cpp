// SPDX-License-Identifier: MIT
#include "platform/pointer/tick_input.h"

#include "platform/foundation/log.h"

namespace platform {

const std::optional<PointerReading>& TickInput::reading() {
  if (!read_) {
    reading_ = source_.read();
    read_ = true;
  }
  return reading_;
}

bool TickInput::pointerKnown() {
  if (reading()) return true;
  if (const std::string& why = source_.whyUnknown(); why != said_) {
    said_ = why;
    logLine(why);
  }
  return false;
}

Point TickInput::getMouse() { return reading() ? reading()->pointer : Point{}; }

uint32_t TickInput::getCurrentKeyModifiers() {
  // Asked for only in hot-key mode: the place to say what the keys cannot do here.
  if (!caveatSaid_ && !source_.modifiersCaveat().empty()) {
    caveatSaid_ = true;
    logLine(source_.modifiersCaveat());
  }
  return reading() ? reading()->modifiers : 0;
}

}  // namespace platform
