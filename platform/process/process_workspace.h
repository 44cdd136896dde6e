#pragma once
#include "platform/process/workspace.h"

namespace platform {

// Keys this workspace adds to each application description besides
// "NSApplicationName".
inline constexpr const char* kApplicationNameKey = "NSApplicationName";
inline constexpr const char* kApplicationPathKey = "NSApplicationPath";
inline constexpr const char* kApplicationProcessKey = "NSApplicationProcessIdentifier";

// Applications are processes: launched detached by path, listed from /proc.
class ProcessWorkspace final : public Workspace {
 public:
  // An application that already runs from the same executable is not
  // started a second time: launching it again only confirms it runs.
  bool launchApplication(const std::string& path) override;
  // Every process of this user whose program can be read, with its name,
  // the path of its bundle (or program) and its process id.
  std::vector<ApplicationDescription> launchedApplications() override;
};

}  // namespace platform
