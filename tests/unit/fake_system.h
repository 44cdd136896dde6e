#pragma once
// One stand-in for the workspace, the script and task runners, the restart
// clock, the desktop's settings and the problem line, recording every
// request in the order it came.
#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pane/tweaks/finder_restart.h"
#include "platform/desktop/desktop_settings.h"
#include "platform/foundation/problem_report.h"
#include "platform/process/task_runner.h"

namespace unit {

struct FakeSystem : platform::Workspace,
                    platform::ScriptRunner,
                    platform::TaskRunner,
                    vantrel::RestartClock,
                    platform::DesktopSettings,
                    platform::ProblemReporter {
  platform::Status launchApplication(const std::string& path) override {
    events.push_back("launch");
    launched.push_back(path);
    if (onLaunch) onLaunch();
    if (launchFails) return platform::fail(path + " is missing");
    return {};
  }
  std::vector<platform::ApplicationDescription> launchedApplications() override {
    events.push_back("scan");
    return running[std::min(scans++, running.size() - 1)];
  }
  platform::Status execute(const std::string& source) override {
    events.push_back("script");
    scripts.push_back(source);
    if (scriptReply) return platform::fail(*scriptReply);
    return {};
  }
  platform::Result<int> runAndWait(const std::string& path, const std::vector<std::string>& arguments) override {
    tasks.push_back({path});
    tasks.back().insert(tasks.back().end(), arguments.begin(), arguments.end());
    if (taskFails) return platform::fail(path + ": No such file or directory");
    return taskExitStatus;
  }
  std::chrono::steady_clock::time_point now() override { return time; }
  void pause(std::chrono::milliseconds duration) override {
    events.push_back("pause");
    time += duration;
  }

  // "speed 0.25"; "arrows 1100" for backward, forward, secondary backward, secondary forward.
  platform::Status setPointerSpeed(double speed) override {
    desktop.push_back("speed " + std::to_string(speed));
    if (desktopFails) return platform::fail(*desktopFails);
    return {};
  }
  platform::Status setScrollBarSteppers(const platform::ScrollBarSteppers& s) override {
    desktop.push_back(std::string("arrows ") + "01"[s.backward] + "01"[s.forward] + "01"[s.secondaryBackward] +
                      "01"[s.secondaryForward]);
    if (desktopFails) return platform::fail(*desktopFails);
    return {};
  }
  void report(std::string_view problem) override { problems.emplace_back(problem); }

  std::vector<std::string> events, launched, scripts, desktop, problems;
  std::vector<std::vector<std::string>> tasks;  // each the path, then the arguments
  std::vector<std::vector<platform::ApplicationDescription>> running{{}};  // one per scan, the last ever after
  size_t scans = 0;
  std::function<void()> onLaunch;
  std::optional<std::string> scriptReply;
  std::optional<std::string> desktopFails;
  bool launchFails = false, taskFails = false;
  int taskExitStatus = 0;
  std::chrono::steady_clock::time_point time{};
};

}  // namespace unit
