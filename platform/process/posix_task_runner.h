// SPDX-License-Identifier: MIT
#pragma once
#include "platform/process/task_runner.h"

namespace platform {

// Runs a program by path with posix_spawn and waits for it. Its standard
// streams are the caller's.
class PosixTaskRunner final : public TaskRunner {
 public:
  Result<int> runAndWait(const std::string& path, const std::vector<std::string>& arguments) override;
};

}  // namespace platform
