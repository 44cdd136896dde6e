// SPDX-License-Identifier: MIT
#pragma once
// The overlay application's process-wide state: one instance per process,
// handed by reference to the controller and the line views.
#include <cstdint>

#include "platform/foundation/colour.h"
#include "platform/windowing/application.h"
#include "settings/settings_record.h"

namespace retikonx {

struct ProcessState {
  settings::SettingsRecord record;
  platform::ColourRef s_color;         // the colour the arms are stroked with
  platform::ColourRef s_prevWinColor;  // the colour object the last show took over
  uint8_t showPoint = 0;               // 1 while the crosshair windows are ordered in
  platform::TimerHandle tmTimer = 0;   // the poll timer
};

}  // namespace retikonx
