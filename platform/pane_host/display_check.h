// SPDX-License-Identifier: MIT
#pragma once
#include "platform/foundation/result.h"

namespace platform {

// Fails with the reason no window can be shown (no display, or one that
// cannot be reached); succeeds when the toolkit's platform is not X11 or the
// X server answers.
Status checkDisplay();

}  // namespace platform
