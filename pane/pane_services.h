// SPDX-License-Identifier: MIT
#pragma once
// What the pane needs of the system, passed in so tests can give their own.
#include <memory>
#include <string>

#include "pane/tweaks/finder_restart.h"
#include "pane/tweaks/tweaks_state.h"
#include "settings/settings_record.h"

namespace platform {
class DesktopSettings;
class DistributedNotificationCenter;
class OverlayPointerSetup;
class ScriptRunner;
class TaskRunner;
class WaitClock;
class Workspace;
}  // namespace platform

namespace vantrel {

struct PaneServices {
  settings::SettingsRecord& record;
  TweaksState& tweaks;
  platform::DistributedNotificationCenter& center;
  platform::Workspace& workspace;
  platform::TaskRunner& tasks;
  platform::ScriptRunner& scripts;
  platform::WaitClock& clock;  // every wait of the window's thread
  platform::DesktopSettings& desktop;
  platform::OverlayPointerSetup& pointerSetup;
  double appKitVersionNumber;
};

// The real ones: the session bus, processes, XDG login items, the running
// desktop with its default file manager as "Finder", the process's own
// settings record and tweak files.
class SystemServices {
 public:
  SystemServices();
  ~SystemServices();
  PaneServices services();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace vantrel
