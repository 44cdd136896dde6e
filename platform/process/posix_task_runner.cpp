#include "posix_task_runner.h"
#include "spawn.h"

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>

extern char** environ;

namespace platform {

TaskOutcome PosixTaskRunner::runAndWait(const std::string& path, const std::vector<std::string>& arguments) {
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

  TaskOutcome outcome;
  pid_t child = 0;
  int error = posix_spawn(&child, path.c_str(), nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) {
    outcome.error = path + ": " + std::strerror(error);
    return outcome;
  }
  outcome.started = true;
  int status = 0;
  pid_t waited;
  while ((waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
  }
  if (waited < 0) {
    outcome.error = std::string("waitpid: ") + std::strerror(errno);
  } else if (WIFEXITED(status)) {
    outcome.exitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    outcome.exitStatus = 128 + WTERMSIG(status);
  }
  return outcome;
}

}  // namespace platform
