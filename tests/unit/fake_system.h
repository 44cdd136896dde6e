#pragma once
// One stand-in for the workspace, the script and task runners, the restart
// clock and the desktop's settings: it records every request and fails the
// ones it is told to.
#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pane/tweaks/finder_restart.h"
#include "platform/desktop/desktop_settings.h"
#include "platform/process/task_runner.h"

namespace unit {

inline platform::Status failingWith(const std::optional<std::string>& reason) {
  if (reason) return platform::fail(*reason);
  return {};
}

struct FakeSystem : platform::Workspace,
                    platform::ScriptRunner,
                    platform::TaskRunner,
                    vantrel::RestartClock,
                    platform::DesktopSettings {
  platform::Status launchApplication(const std::string& path) override {
    launched.push_back(path);
    if (onLaunch) onLaunch();
    return failingWith(launchFails ? std::optional(path + " is missing") : std::nullopt);
  }
  std::vector<platform::ApplicationDescription> launchedApplications() override {
    return running[std::min(scans++, running.size() - 1)];
  }
  platform::Status execute(const std::string& source) override {
    scripts.push_back(source);
    return failingWith(scriptReply);
  }
  platform::TaskOutcome runAndWait(const std::string& path, const std::vector<std::string>& arguments) override {
    tasks.push_back({path});
    tasks.back().insert(tasks.back().end(), arguments.begin(), arguments.end());
    if (taskFails) return {.started = false, .exitStatus = -1, .error = path + ": No such file or directory"};
    return {.started = true, .exitStatus = taskExitStatus, .error = ""};
  }
  std::chrono::steady_clock::time_point now() override { return time; }
  void pause(std::chrono::milliseconds duration) override { time += duration; }
  platform::Status setPointerSpeed(double speed) override {
    desktop.push_back("speed " + std::to_string(speed));
    return failingWith(desktopFails);
  }
  // "arrows 1100": backward, forward, secondary backward, secondary forward.
  platform::Status setScrollBarSteppers(const platform::ScrollBarSteppers& s) override {
    desktop.push_back(std::string("arrows ") + "01"[s.backward] + "01"[s.forward] + "01"[s.secondaryBackward] +
                      "01"[s.secondaryForward]);
    return failingWith(desktopFails);
  }

  std::vector<std::string> launched, scripts, desktop;
  std::vector<std::vector<std::string>> tasks;  // each the path, then the arguments
  std::vector<std::vector<platform::ApplicationDescription>> running{{}};  // one per scan, the last ever after
  size_t scans = 0;
  std::function<void()> onLaunch;
  std::optional<std::string> scriptReply, desktopFails;  // the failure each answers with
  bool launchFails = false, taskFails = false;
  int taskExitStatus = 0;
  std::chrono::steady_clock::time_point time{};
};

}  // namespace unit
