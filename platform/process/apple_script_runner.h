// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include "platform/login_items/login_items.h"
#include "platform/process/script_runner.h"
#include "platform/process/workspace.h"

namespace platform {

// Runs the scripts of script_compiler.h: login items through the XDG
// autostart entries, locations through the desktop's opener (started
// detached, so a browser that stays in the foreground never holds the
// caller), and a quit as SIGTERM to every process of this user that the
// workspace lists under that name.
class AppleScriptRunner final : public ScriptRunner {
 public:
  AppleScriptRunner(Workspace& workspace, LoginItems& loginItems, std::string locationOpener = "xdg-open")
      : workspace_(workspace), loginItems_(loginItems), locationOpener_(std::move(locationOpener)) {}

  Status execute(const std::string& source) override;

 private:
  Workspace& workspace_;
  LoginItems& loginItems_;
  std::string locationOpener_;  // a program name looked up in PATH
};

}  // namespace platform
