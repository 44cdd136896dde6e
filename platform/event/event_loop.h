// SPDX-License-Identifier: MIT
#pragma once
// The main event loop of a program without a toolkit: timers and file
// descriptors, all dispatched on the one thread that runs the loop.
#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/event/systemd_owners.h"
#include "platform/foundation/result.h"

namespace platform {

// A callback that throws ends the loop with status 1 after a line on
// stderr: no exception ever passes through the C library that runs it.
class EventLoop {
 public:
  EventLoop();  // without memory for a loop the program cannot go on: it aborts
  ~EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  // Fires every interval, measured from the previous planned firing, until
  // the loop ends. A firing that comes late is not made up for.
  Status addRepeatingTimer(std::chrono::microseconds interval, std::function<void()> callback);
  // Calls back whenever fd is readable (or has hung up). beforeWait, when
  // given, runs in every loop iteration before the loop sleeps: the place to
  // flush output and handle input a library has already read from fd.
  Status addReadable(int fd, std::function<void()> callback, std::function<void()> beforeWait = {});

  // Ends the loop with status 0 on any of these signals instead of letting
  // them end the process, so that what the program holds elsewhere (a
  // compositor's script) is given back. Blocks them for the process.
  Status exitOnSignals(std::initializer_list<int> signals);

  // Runs until exit(); returns the code given to exit().
  int run();
  void exit(int code);
  // Waits for and dispatches one event: for callers that drive the loop
  // themselves until a condition holds.
  void runOnce();

  sd_event* handle() const { return event_.get(); }

  struct Source;  // one timer or descriptor with its callbacks

 private:
  OwnedEvent event_;
  std::vector<std::unique_ptr<Source>> sources_;  // let go before the loop they are in
};

}  // namespace platform
