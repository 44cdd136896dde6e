// SPDX-License-Identifier: MIT
#pragma once
// The pane process's own state: one crosshair settings record and one set
// of system tweak files, each living as long as the process.
#include "pane/tweaks/tweaks_state.h"
#include "settings/settings_record.h"

namespace vantrel {

extern settings::SettingsRecord crosshairRecord;
extern TweaksState tweaksState;

}  // namespace vantrel
