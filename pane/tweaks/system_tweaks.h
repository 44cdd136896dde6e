// SPDX-License-Identifier: MIT
#pragma once
// Everything the system tweaks page decides, for the page's widgets to
// call: the load sequence up to the crosshair page, and one call per action.
#include <optional>
#include <string>
#include <utility>

#include "pane/tweaks/finder_restart.h"
#include "pane/tweaks/finder_zoom.h"
#include "pane/tweaks/global_preferences.h"
#include "pane/tweaks/scroll_bar_placement.h"
#include "pane/tweaks/tweaks_state.h"
#include "platform/desktop/desktop_settings.h"
#include "platform/foundation/appkit_version.h"
#include "platform/foundation/problem_report.h"
#include "platform/process/script_runner.h"
#include "platform/process/task_runner.h"
#include "platform/process/workspace.h"

namespace vantrel {

struct TweaksServices {
  platform::TaskRunner& tasks;
  platform::ScriptRunner& scripts;
  platform::Workspace& workspace;
  platform::WaitClock& clock;  // the restart's wait
  platform::ProblemReporter& problems;  // what the user asked for and did not happen
  platform::DesktopSettings& desktop;   // where the choices take effect
  double appKitVersionNumber = platform::NSAppKitVersionNumber;
  RestartBound restartBound = {};
};

// What the load shows.
struct TweaksDisplay {
  std::optional<ScrollBarPlacement> placement;  // the one radio button on; nothing: all off
  float slider = kDefaultScaling;
  ZoomCheckboxDisplay zoom;
};

class SystemTweaks {
 public:
  SystemTweaks(TweaksState& state, TweaksServices services) : state_(state), services_(std::move(services)) {}

  // The defaults tool is the one inside the bundle the pane was loaded from.
  void useBundle(const std::string& bundlePath) { defaultsTool_ = defaultsToolOfBundle(bundlePath); }

  // Classifies the system, reads both preference files (saving the
  // defaults that are missing) and settles the zoom checkbox. The desktop
  // is left as it is. It always returns, so the crosshair page is filled
  // after it.
  TweaksDisplay mainViewDidLoad();

  // Each action saves, then applies its choice to the running desktop; a
  // refused save applies nothing, so the desktop never shows what the
  // file does not hold. Failures are reported.
  void a_scrollBar(ScrollBarPlacement placement);
  void a_slider(float sliderValue);
  // False when nothing was stored: the checkbox goes back.
  bool a_ZoomCheck(int checkboxState);
  RestartOutcome a_restartFinder() {
    return restartFinder(services_.scripts, services_.workspace, services_.clock, services_.problems,
                         services_.restartBound);
  }

 private:
  TweaksState& state_;
  TweaksServices services_;
  std::string defaultsTool_;
};

}  // namespace vantrel
