// SPDX-License-Identifier: MIT
#pragma once
// The workspace: starting applications by path and listing the running ones.
#include <map>
#include <string>
#include <vector>

#include "platform/foundation/result.h"

namespace platform {

// One running application: at least "NSApplicationName", its name (the
// bundle name without ".app" for a bundle, else the program's name).
using ApplicationDescription = std::map<std::string, std::string>;
inline constexpr const char* kApplicationNameKey = "NSApplicationName";

class Workspace {
 public:
  virtual ~Workspace() = default;
  // Starts the application at path, detached from the caller: for a ".app"
  // bundle, Contents/MacOS/<CFBundleExecutable of Contents/Info.plist>.
  // The reason when nothing could be started.
  virtual Status launchApplication(const std::string& path) = 0;
  // A fresh list of this user's running applications.
  virtual std::vector<ApplicationDescription> launchedApplications() = 0;
};

}  // namespace platform
