#include "pane/tweaks/finder_zoom.h"

#include "pane/tweaks/system_generation.h"
#include "platform/foundation/system_log.h"
#include "platform/foundation/text.h"

namespace vantrel {
namespace {

void runDefaults(bool animate, platform::TaskRunner& tasks, const std::string& defaultsTool) {
  platform::TaskOutcome outcome = tasks.runAndWait(defaultsTool, zoomCommandArguments(animate));
  if (!outcome.started)
    platform::systemLog("could not run " + defaultsTool + " to set " + kAnimateWindowZoomKey + ": " + outcome.error);
}

}  // namespace

void loadFinderPreferences(TweaksState& state) {
  state.recordsFile2 = platform::expandTilde(kFinderPreferencesFile);
  state.records2 = platform::PlistDictionary::readFile(state.recordsFile2);
}

std::vector<std::string> zoomCommandArguments(bool animate) {
  return {"write", kFinderDomain, kAnimateWindowZoomKey, "-bool", animate ? "true" : "false"};
}

ZoomCheckboxDisplay loadZoomCheckbox(const TweaksState& state, platform::TaskRunner& tasks,
                                     const std::string& defaultsTool) {
  if (state.osVersion < kZoomGeneration) return {.disable = true, .checked = std::nullopt};
  std::optional<bool> animate = state.records2 ? state.records2->boolValue(kAnimateWindowZoomKey) : false;
  if (!animate) {
    runDefaults(true, tasks, defaultsTool);
    animate = true;
  }
  return {.disable = false, .checked = *animate};
}

void setFinderZoom(int checkboxState, platform::TaskRunner& tasks, const std::string& defaultsTool) {
  runDefaults(checkboxState != 0, tasks, defaultsTool);
}

}  // namespace vantrel
