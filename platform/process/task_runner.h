#pragma once
// Child processes: a program run by path with an argument list, no shell.
#include <string>
#include <vector>

namespace platform {

struct TaskOutcome {
  bool started = false;  // false: the program could not be started (see error)
  int exitStatus = -1;   // the exit status once it has ended
  std::string error;
};

class TaskRunner {
 public:
  virtual ~TaskRunner() = default;
  // Starts the program and waits until it has exited.
  virtual TaskOutcome runAndWait(const std::string& path, const std::vector<std::string>& arguments) = 0;
};

}  // namespace platform
