#include "pane/tweaks/finder_restart.h"

#include <string>
#include <thread>

#include "platform/foundation/system_log.h"

namespace vantrel {

std::chrono::steady_clock::time_point SteadyRestartClock::now() { return std::chrono::steady_clock::now(); }

void SteadyRestartClock::pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

bool finderIsListed(const std::vector<platform::ApplicationDescription>& applications) {
  for (const platform::ApplicationDescription& application : applications) {
    auto name = application.find(kApplicationNameKey);
    if (name != application.end() && name->second == kFinderName) return true;
  }
  return false;
}

RestartOutcome restartFinder(platform::ScriptRunner& scripts, platform::Workspace& workspace,
                             RestartClock& clock, RestartBound bound) {
  // A failed quit shows as the file manager staying listed.
  (void)scripts.execute(kFinderQuitScript);
  const auto deadline = clock.now() + bound.timeout;
  while (finderIsListed(workspace.launchedApplications())) {
    if (clock.now() >= deadline) {
      platform::systemLog(std::string(kFinderName) + " did not quit; not starting it again");
      return RestartOutcome::StillRunning;
    }
    clock.pause(bound.pause);
  }
  if (!workspace.launchApplication(kFinderApplication)) {
    platform::systemLog(std::string("could not start ") + kFinderApplication);
    return RestartOutcome::LaunchFailed;
  }
  return RestartOutcome::Relaunched;
}

}  // namespace vantrel
