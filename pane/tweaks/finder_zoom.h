// SPDX-License-Identifier: MIT
#pragma once
// The file manager's window zoom animation: read from its preference file,
// changed only through the defaults tool, which the file manager's own
// preference handling honours.
#include <optional>
#include <string>
#include <vector>

#include "pane/tweaks/tweaks_state.h"
#include "platform/foundation/problem_report.h"
#include "platform/foundation/result.h"
#include "platform/process/task_runner.h"

namespace vantrel {

inline constexpr const char* kFinderPreferencesFile = "~/Library/Preferences/com.apple.finder.plist";
inline constexpr const char* kFinderDomain = "com.apple.finder";
inline constexpr const char* kAnimateWindowZoomKey = "AnimateWindowZoom";
// The pane's own copy of the tool, inside its bundle: another system's
// tool of that name writes somewhere else.
inline constexpr const char* kDefaultsToolInBundle = "Contents/Resources/defaults";
// The request as the window's problem lines name it.
inline constexpr const char* kZoomRequest = "zoom animation";

std::string defaultsToolOfBundle(const std::string& bundlePath);

// Reads the file manager's preference file into state.records2 (nothing
// when unreadable).
void loadFinderPreferences(TweaksState& state);

// The defaults tool's arguments that set the animation on or off.
std::vector<std::string> zoomCommandArguments(bool animate);

// What the load shows on the checkbox.
struct ZoomCheckboxDisplay {
  bool disable = false;          // older generations: disable it
  std::optional<bool> checked;   // nothing: leave its state as it is
};

// Older generations: disabled, the key not read. Otherwise on exactly when
// the stored value reads as true; a value with no boolean reading (a date,
// data, a list) is repaired to true through the tool and shown on. A tool
// that cannot be started or fails is reported and the load goes on.
ZoomCheckboxDisplay loadZoomCheckbox(const TweaksState& state, platform::TaskRunner& tasks,
                                     const std::string& defaultsTool, platform::ProblemReporter& problems);

// The checkbox's action: any state but 0 (mixed too) turns the animation
// on. Waits for the tool; the reason when it could not be run or did not
// exit with 0, and then nothing was stored.
platform::Status setFinderZoom(int checkboxState, platform::TaskRunner& tasks, const std::string& defaultsTool);

}  // namespace vantrel
