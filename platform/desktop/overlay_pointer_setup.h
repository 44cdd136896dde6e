// SPDX-License-Identifier: MIT
#pragma once
// What a desktop needs before the overlay can follow the pointer there.
#include <string>

#include "platform/foundation/result.h"

namespace platform {

class OverlayPointerSetup {
 public:
  virtual ~OverlayPointerSetup() = default;
  // Called when the overlay is switched on, with the bundle the pane was
  // loaded from. Gives what the user still has to do, or why the crosshair
  // cannot follow the pointer on this desktop; empty when nothing remains.
  virtual Result<std::string> prepareOverlayPointer(const std::string& paneBundle) = 0;
  // Why hot-key mode cannot show the crosshair over every window on this
  // desktop, and what to choose instead; empty where it can.
  virtual std::string heldKeysLimit() = 0;
};

}  // namespace platform
