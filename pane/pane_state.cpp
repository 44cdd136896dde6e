// SPDX-License-Identifier: MIT
#include "pane_state.h"

namespace vantrel {

settings::SettingsRecord crosshairRecord;
TweaksState tweaksState;

}  // namespace vantrel
