// SPDX-License-Identifier: MIT
#pragma once
// Restarting the file manager: ask it to quit, wait until it has left the
// list of running applications, start it again.
#include <chrono>
#include <vector>

#include "platform/foundation/problem_report.h"
#include "platform/process/script_runner.h"
#include "platform/process/wait_clock.h"
#include "platform/process/workspace.h"

namespace vantrel {

inline constexpr const char* kFinderQuitScript = "tell application \"Finder\" to quit";
inline constexpr const char* kFinderName = "Finder";
inline constexpr const char* kFinderApplication = "/System/Library/CoreServices/Finder.app";
// The request as the window's problem lines name it.
inline constexpr const char* kRestartRequest = "file manager restart";

// The file manager may refuse to quit (an open dialog, a copy in progress);
// the pane must not hang on it.
struct RestartBound {
  std::chrono::milliseconds pause{100};     // between two scans
  std::chrono::milliseconds timeout{10000};  // after the quit request
};

enum class RestartOutcome {
  Relaunched,    // it left the list and its launch was requested
  LaunchFailed,  // it left the list but could not be started again
  StillRunning,  // still listed when the time-out came; not launched
};

// True when an entry's "NSApplicationName" is exactly "Finder"; entries
// without a name never match.
bool finderIsListed(const std::vector<platform::ApplicationDescription>& applications);

// Whatever the quit script answers, scans fresh application lists until one
// no longer lists the file manager, then launches it once. When it is still
// listed at the time-out, it is not launched: a second copy beside the
// running one would help nobody. Both failures are reported.
RestartOutcome restartFinder(platform::ScriptRunner& scripts, platform::Workspace& workspace, platform::WaitClock& clock,
                             platform::ProblemReporter& problems, RestartBound bound = {});

}  // namespace vantrel
