// SPDX-License-Identifier: MIT
#include "pane/tweaks/finder_restart.h"

#include <string>

namespace vantrel {

bool finderIsListed(const std::vector<platform::ApplicationDescription>& applications) {
  for (const platform::ApplicationDescription& application : applications) {
    auto name = application.find(platform::kApplicationNameKey);
    if (name != application.end() && name->second == kFinderName) return true;
  }
  return false;
}

RestartOutcome restartFinder(platform::ScriptRunner& scripts, platform::Workspace& workspace, platform::WaitClock& clock,
                             platform::ProblemReporter& problems, RestartBound bound) {
  // A failed quit shows as the file manager staying listed.
  (void)scripts.execute(kFinderQuitScript);
  const auto deadline = clock.now() + bound.timeout;
  while (finderIsListed(workspace.launchedApplications())) {
    if (clock.now() >= deadline) {
      problems.report(kRestartRequest, "the file manager did not quit; not starting it again");
      return RestartOutcome::StillRunning;
    }
    clock.pause(bound.pause);
  }
  if (auto launched = workspace.launchApplication(kFinderApplication); !launched) {
    problems.report(kRestartRequest, "could not start the file manager again: " + launched.error());
    return RestartOutcome::LaunchFailed;
  }
  problems.resolved(kRestartRequest);
  return RestartOutcome::Relaunched;
}

}  // namespace vantrel
