// SPDX-License-Identifier: MIT
#include "wait_clock.h"

#include <thread>

namespace platform {

void SleepingClock::pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

}  // namespace platform
