// SPDX-License-Identifier: MIT
#include "posix_task_runner.h"

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>

#include "platform/process/program_launch.h"

extern char** environ;

namespace platform {
namespace {

constexpr std::chrono::milliseconds kLookInterval{10};

}  // namespace

Result<int> PosixTaskRunner::runAndWait(const std::string& path, const std::vector<std::string>& arguments) {
  ArgumentVector argv(path, arguments);

  // The child starts with default signal handling whatever the caller set up.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  pid_t child = 0;
  int error = posix_spawn(&child, path.c_str(), nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return fail(path + ": " + std::strerror(error));
  const auto deadline = clock_.now() + deadline_;
  int status = 0;
  pid_t waited;
  while ((waited = waitpid(child, &status, WNOHANG)) == 0 || (waited < 0 && errno == EINTR)) {
    if (clock_.now() >= deadline) {
      kill(child, SIGKILL);
      while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
      char seconds[32];
      std::snprintf(seconds, sizeof seconds, "%g", std::chrono::duration<double>(deadline_).count());
      return fail(path + " did not finish within " + seconds + " s and was ended");
    }
    clock_.pause(kLookInterval);
  }
  if (waited < 0) return fail(std::string("waitpid: ") + std::strerror(errno));
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

}  // namespace platform
