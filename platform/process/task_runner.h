// SPDX-License-Identifier: MIT
#pragma once
// Child processes: a program run by path with an argument list, no shell.
#include <string>
#include <vector>

#include "platform/foundation/result.h"

namespace platform {

class TaskRunner {
 public:
  virtual ~TaskRunner() = default;
  // Starts the program and waits until it has exited: its exit status
  // (128 plus the signal for one that a signal ended), or why it could not
  // be started.
  virtual Result<int> runAndWait(const std::string& path, const std::vector<std::string>& arguments) = 0;
};

}  // namespace platform
