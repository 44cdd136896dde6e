// SPDX-License-Identifier: MIT
#pragma once
// Loading a ".prefPane" bundle: Contents/Info.plist names the principal
// class (NSPrincipalClass) and the library in Contents/MacOS that holds it
// (CFBundleExecutable).
#include <memory>
#include <string>

#include "platform/foundation/result.h"
#include "platform/pane_host/ns_preference_pane.h"

namespace platform {

struct PaneBundleInfo {
  std::string principalClass;
  std::string executable;  // full path of the library
  std::string label;       // what the window calls the pane
  std::string identifier;  // CFBundleIdentifier, the name of its menu entry; may be empty
};

Result<PaneBundleInfo> readPaneBundle(const std::string& bundlePath);

// A library that has made a pane stays loaded for the rest of the process:
// the pane's objects and the code behind them live as long as it does. One
// that makes none (no such class, a null or throwing factory) is closed.
Result<std::unique_ptr<NSPreferencePane>> instantiatePrincipalClass(const PaneBundleInfo& info);

}  // namespace platform
