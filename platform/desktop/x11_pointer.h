// SPDX-License-Identifier: MIT
#pragma once
// The X server's own pointer speed, which shows at once under any window
// manager: libinput's property where a device has it, else the core
// pointer's acceleration.
#include <string>
#include <vector>

#include "platform/foundation/result.h"

namespace platform {

inline constexpr const char* kLibinputAccelSpeed = "libinput Accel Speed";
inline constexpr int kCoreThreshold = 4;  // the X server's own default

// The core acceleration for a speed: 1 (none) at -1, the server's default
// 2 at 0, 4 at 1, as a reduced fraction.
struct CoreAcceleration {
  int numerator;
  int denominator;
};
CoreAcceleration coreAcceleration(double speed);

// On the display of DISPLAY: the property on every pointer device that has
// it, the core acceleration when any pointer lacks it.
Status setX11PointerSpeed(double speed);

// The names of the pointer devices of the display of DISPLAY, without the
// server's own XTEST stand-in, which no user moves.
Result<std::vector<std::string>> x11PointerDeviceNames();

}  // namespace platform
