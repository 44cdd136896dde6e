// SPDX-License-Identifier: MIT
#pragma once
// The running desktop's own settings that the system page changes.
#include "platform/desktop/scroll_bar_arrows.h"
#include "platform/foundation/result.h"

namespace platform {

class DesktopSettings {
 public:
  virtual ~DesktopSettings() = default;
  // speed: -1 (slowest) to 1 (fastest), 0 the desktop's own default.
  virtual Status setPointerSpeed(double speed) = 0;
  // For programs started from now on.
  virtual Status setScrollBarSteppers(const ScrollBarSteppers& steppers) = 0;
};

}  // namespace platform
