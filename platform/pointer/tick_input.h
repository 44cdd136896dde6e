// SPDX-License-Identifier: MIT
#pragma once
// The overlay's input, read from the session's pointer source once per tick:
// the tick asks for the pointer and the modifiers, the source is asked once.
// While the source cannot tell, the pointer is unknown and the reason is said
// on stderr, once for each different reason. What the held keys cannot do in
// this session is said once, when hot-key mode first asks for them.
#include <optional>
#include <string>

#include "platform/pointer/pointer_source.h"
#include "platform/windowing/input.h"

namespace platform {

class TickInput : public Input {
 public:
  explicit TickInput(PointerSource& source) : source_(source) {}

  // Forgets the last reading: the next question asks the source again.
  void startTick() { read_ = false; }

  bool pointerKnown() override;
  Point getMouse() override;
  uint32_t getCurrentKeyModifiers() override;

 private:
  const std::optional<PointerReading>& reading();

  PointerSource& source_;
  bool read_ = false;
  std::optional<PointerReading> reading_;
  std::string said_;
  bool caveatSaid_ = false;
};

}  // namespace platform
