#pragma once
// Everything the system tweaks page decides, for the page's widgets to
// call: the load sequence up to the crosshair page, and one call per action.
#include <optional>
#include <string>
#include <utility>

#include "pane/tweaks/defaults_tool_path.h"
#include "pane/tweaks/finder_restart.h"
#include "pane/tweaks/finder_zoom.h"
#include "pane/tweaks/global_preferences.h"
#include "pane/tweaks/scroll_bar_placement.h"
#include "pane/tweaks/tweaks_state.h"
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
  RestartClock& clock;
  platform::ProblemReporter& problems;  // what the user asked for and did not happen
  std::string defaultsTool = kDefaultsToolPath;
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

  // Classifies the system, reads both preference files (saving the
  // defaults that are missing) and settles the zoom checkbox. It always
  // returns, so the crosshair page is filled after it.
  TweaksDisplay mainViewDidLoad();

  void a_scrollBar(ScrollBarPlacement placement) { storeScrollBarPlacement(state_, placement); }
  void a_slider(float sliderValue) { storePointerSpeed(state_, sliderValue); }
  void a_ZoomCheck(int checkboxState) { setFinderZoom(checkboxState, services_.tasks, services_.defaultsTool); }
  RestartOutcome a_restartFinder() {
    return restartFinder(services_.scripts, services_.workspace, services_.clock, services_.restartBound);
  }

 private:
  TweaksState& state_;
  TweaksServices services_;
};

}  // namespace vantrel
