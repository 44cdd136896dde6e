// SPDX-License-Identifier: MIT
#pragma once
// What the page's stored choices mean to a Linux desktop.
#include "pane/tweaks/scroll_bar_placement.h"
#include "platform/desktop/scroll_bar_arrows.h"

namespace vantrel {

// The stored scaling (the slider's 0 to 3) as libinput's speed, -1 to 1,
// with the default 1.7 on each desktop's own default 0.
double desktopPointerSpeed(float scaling);

// The GTK steppers drawn for each placement.
platform::ScrollBarSteppers steppersFor(ScrollBarPlacement placement);

}  // namespace vantrel
