// SPDX-License-Identifier: MIT
#include "pane/tweaks/finder_zoom.h"

#include "pane/tweaks/system_generation.h"
#include "platform/foundation/text.h"

namespace vantrel {
namespace {

platform::Status runDefaults(bool animate, platform::TaskRunner& tasks, const std::string& defaultsTool) {
  platform::Result<int> exitStatus = tasks.runAndWait(defaultsTool, zoomCommandArguments(animate));
  if (!exitStatus)
    return platform::fail("could not run " + defaultsTool + " to set " + kAnimateWindowZoomKey + ": " + exitStatus.error());
  if (*exitStatus != 0)
    return platform::fail(std::string(kAnimateWindowZoomKey) + " not stored: " + defaultsTool + " failed (exit status " +
                          std::to_string(*exitStatus) + ")");
  return {};
}

}  // namespace

std::string defaultsToolOfBundle(const std::string& bundlePath) {
  return bundlePath.empty() ? std::string() : bundlePath + "/" + kDefaultsToolInBundle;
}

void loadFinderPreferences(TweaksState& state) {
  state.recordsFile2 = platform::expandTilde(kFinderPreferencesFile);
  state.records2 = platform::PlistDictionary::readFile(state.recordsFile2);
}

std::vector<std::string> zoomCommandArguments(bool animate) {
  return {"write", kFinderDomain, kAnimateWindowZoomKey, "-bool", animate ? "true" : "false"};
}

ZoomCheckboxDisplay loadZoomCheckbox(const TweaksState& state, platform::TaskRunner& tasks,
                                     const std::string& defaultsTool, platform::ProblemReporter& problems) {
  if (state.osVersion < kZoomGeneration) return {.disable = true, .checked = std::nullopt};
  std::optional<bool> animate = state.records2 ? state.records2->boolValue(kAnimateWindowZoomKey) : false;
  if (!animate) {
    if (auto repaired = runDefaults(true, tasks, defaultsTool); !repaired) problems.report(kZoomRequest, repaired.error());
    animate = true;
  }
  return {.disable = false, .checked = *animate};
}

platform::Status setFinderZoom(int checkboxState, platform::TaskRunner& tasks, const std::string& defaultsTool) {
  return runDefaults(checkboxState != 0, tasks, defaultsTool);
}

}  // namespace vantrel
