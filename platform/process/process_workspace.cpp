// SPDX-License-Identifier: MIT
#include "process_workspace.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/owned_handles.h"
#include "platform/process/app_bundle.h"
#include "platform/process/program_launch.h"

namespace platform {
namespace {

std::optional<std::string> processExecutable(const std::string& pid) {
  char target[PATH_MAX];
  ssize_t length = readlink(("/proc/" + pid + "/exe").c_str(), target, sizeof target - 1);
  if (length <= 0) return std::nullopt;
  std::string path(target, static_cast<size_t>(length));
  // A program replaced on disk while running still is that program.
  constexpr std::string_view kDeleted = " (deleted)";
  if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
  return path;
}

}  // namespace

Status terminateProcesses(const std::vector<std::string>& ids, const std::string& what) {
  Status outcome;
  for (const std::string& id : ids) {
    pid_t pid = 0;
    auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), pid);
    if (error != std::errc() || end != id.data() + id.size() || pid <= 0) continue;
    if (kill(pid, SIGTERM) != 0 && errno != ESRCH) outcome = fail(what + " [" + id + "]: " + std::strerror(errno));
  }
  return outcome;
}

bool ProcessWorkspace::runsFrom(const std::string& executable) {
  for (const auto& application : launchedApplications()) {
    auto running = application.find(kApplicationPathKey);
    if (running == application.end()) continue;
    std::string runningExecutable = isApplicationBundle(running->second)
                                        ? bundleExecutable(running->second).value_or(std::string())
                                        : running->second;
    if (!runningExecutable.empty() && canonicalPath(runningExecutable) == executable) return true;
  }
  return false;
}

Status ProcessWorkspace::launchApplication(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return fail(path + " is missing");
  std::optional<std::string> executable = isApplicationBundle(path) ? bundleExecutable(path) : path;
  if (!executable) return fail(path + " names no program in its Contents/Info.plist");
  const std::string wanted = canonicalPath(*executable);
  // A copy that has just decided to quit is still listed for a moment; one
  // still there after the wait is a live one and is not started twice.
  const auto deadline = clock_.now() + kQuittingWait;
  while (runsFrom(wanted)) {
    if (clock_.now() >= deadline) return {};
    clock_.pause(std::chrono::milliseconds(20));
  }
  if (Status started = spawnDetached(*executable, {}); !started) return fail("cannot start " + path + ": " + started.error());
  return {};
}

std::vector<ApplicationDescription> ProcessWorkspace::launchedApplications() {
  std::vector<ApplicationDescription> applications;
  OwnedDirectory proc(opendir("/proc"));
  if (!proc) return applications;
  const uid_t user = getuid();
  while (dirent* entry = readdir(proc.get())) {
    std::string pid = entry->d_name;
    if (pid.empty() || !std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); }))
      continue;
    struct stat info;
    if (stat(("/proc/" + pid).c_str(), &info) != 0 || info.st_uid != user) continue;
    auto executable = processExecutable(pid);
    if (!executable) continue;
    auto bundle = bundleOfExecutable(*executable);
    const std::string& path = bundle ? *bundle : *executable;
    applications.push_back({{kApplicationNameKey, applicationName(path)},
                            {kApplicationPathKey, path},
                            {kApplicationProcessKey, pid}});
  }
  return applications;
}

}  // namespace platform
