// SPDX-License-Identifier: MIT
#pragma once
// The application object as its delegate sees it.
#include <chrono>
#include <functional>
#include <string>

#include "platform/foundation/result.h"

namespace platform {

class ApplicationDelegate {
 public:
  virtual ~ApplicationDelegate() = default;
  virtual void applicationDidFinishLaunching() = 0;
};

// What building the main interface leaves behind: it lives as long as the
// program, and its delegate hears of the launch.
class MainInterfaceObjects {
 public:
  virtual ~MainInterfaceObjects() = default;
  virtual ApplicationDelegate& delegate() = 0;
};

// Identifies a scheduled timer; 0 is none.
using TimerHandle = int;

class Application {
 public:
  virtual ~Application() = default;
  // Calls back on the main thread for every distributed notification with
  // exactly this name and object.
  virtual void observeDistributedNotification(std::string name, std::string object,
                                              std::function<void()> callback) = 0;
  // A timer that calls back every interval from now on; the reason when it
  // could not be added, and then it never calls back.
  virtual Result<TimerHandle> scheduleRepeatingTimer(std::chrono::microseconds interval,
                                                     std::function<void()> callback) = 0;
  // Ends the event loop and with it the process, which exits with status.
  virtual void terminate(int status) = 0;
};

}  // namespace platform
