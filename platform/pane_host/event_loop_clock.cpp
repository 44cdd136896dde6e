// SPDX-License-Identifier: MIT
#include "event_loop_clock.h"

#include <QEventLoop>
#include <QTimer>

namespace platform {

void EventLoopClock::pause(std::chrono::milliseconds duration) {
  QEventLoop loop;
  QTimer::singleShot(duration, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace platform
