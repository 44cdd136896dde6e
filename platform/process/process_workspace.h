// SPDX-License-Identifier: MIT
#pragma once
#include <chrono>
#include <string>
#include <vector>

#include "platform/process/wait_clock.h"
#include "platform/process/workspace.h"

namespace platform {

// Keys this workspace adds to each application description besides
// "NSApplicationName".
inline constexpr const char* kApplicationPathKey = "NSApplicationPath";
inline constexpr const char* kApplicationProcessKey = "NSApplicationProcessIdentifier";

// Longer than an overlay takes to quit after its last tick.
inline constexpr std::chrono::seconds kQuittingWait{1};

// Asks each process, named by its decimal id, to end (SIGTERM). A text that
// is no id is passed over and a process that is already gone is no
// failure; the failure is the last process that could not be signalled,
// as "<what> [<id>]: <reason>".
Status terminateProcesses(const std::vector<std::string>& ids, const std::string& what);

// Applications are processes: launched detached by path, listed from /proc.
class ProcessWorkspace final : public Workspace {
 public:
  // The clock the quitting copy is waited for on.
  explicit ProcessWorkspace(WaitClock& clock) : clock_(clock) {}
  // An application that already runs from the same executable is not
  // started a second time: launching it again only confirms it runs. One
  // that is on its way out (it decided to quit just before) is waited for,
  // a second at most, and then started afresh.
  Status launchApplication(const std::string& path) override;
  // Every process of this user whose program can be read, with its name,
  // the path of its bundle (or program) and its process id.
  std::vector<ApplicationDescription> launchedApplications() override;

 private:
  bool runsFrom(const std::string& canonicalExecutable);

  WaitClock& clock_;
};

}  // namespace platform
