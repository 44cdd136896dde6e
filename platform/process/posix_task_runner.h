// SPDX-License-Identifier: MIT
#pragma once
#include <chrono>

#include "platform/process/task_runner.h"
#include "platform/process/wait_clock.h"

namespace platform {

// Long enough for any tool the pane runs; a hung one must not hang it.
inline constexpr std::chrono::seconds kTaskDeadline{10};

// Runs a program by path with posix_spawn and waits for it, pausing on the
// clock between looks. Its standard streams are the caller's. One still
// running at the deadline is killed, and that is the failure.
class PosixTaskRunner final : public TaskRunner {
 public:
  explicit PosixTaskRunner(WaitClock& clock, std::chrono::milliseconds deadline = kTaskDeadline)
      : clock_(clock), deadline_(deadline) {}
  Result<int> runAndWait(const std::string& path, const std::vector<std::string>& arguments) override;

 private:
  WaitClock& clock_;
  std::chrono::milliseconds deadline_;
};

}  // namespace platform
