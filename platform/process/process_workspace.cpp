#include "process_workspace.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "platform/foundation/system_log.h"
#include "platform/process/app_bundle.h"
#include "platform/process/spawn.h"

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

std::string canonical(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

bool ProcessWorkspace::launchApplication(const std::string& path) {
  std::optional<std::string> executable = isApplicationBundle(path) ? bundleExecutable(path) : path;
  if (!executable) {
    systemLog("cannot launch " + path + ": no executable named in its Contents/Info.plist");
    return false;
  }
  const std::string wanted = canonical(*executable);
  for (const auto& application : launchedApplications()) {
    auto running = application.find(kApplicationPathKey);
    if (running == application.end()) continue;
    std::string runningExecutable = isApplicationBundle(running->second)
                                        ? bundleExecutable(running->second).value_or(std::string())
                                        : running->second;
    if (!runningExecutable.empty() && canonical(runningExecutable) == wanted) return true;
  }
  if (auto failure = spawnDetached(*executable, {})) {
    systemLog("cannot launch " + path + ": " + *failure);
    return false;
  }
  return true;
}

std::vector<ApplicationDescription> ProcessWorkspace::launchedApplications() {
  std::vector<ApplicationDescription> applications;
  DIR* proc = opendir("/proc");
  if (!proc) return applications;
  const uid_t user = getuid();
  while (dirent* entry = readdir(proc)) {
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
  closedir(proc);
  return applications;
}

}  // namespace platform
