// SPDX-License-Identifier: MIT
#include "program_launch.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/foundation/owned_handles.h"

namespace platform {
namespace {

// Only async-signal-safe calls from here on: the caller may have threads.
[[noreturn]] void reportAndExit(int pipe, int error) {
  [[maybe_unused]] ssize_t written = write(pipe, &error, sizeof error);
  _exit(127);
}

[[noreturn]] void execDetached(const char* path, char* const argv[], int pipe) {
  if (setsid() < 0) reportAndExit(pipe, errno);
  pid_t grandchild = fork();
  if (grandchild < 0) reportAndExit(pipe, errno);
  if (grandchild > 0) _exit(0);
  int null = open("/dev/null", O_RDWR);
  if (null < 0) reportAndExit(pipe, errno);
  for (int fd = 0; fd < 3; ++fd)
    if (dup2(null, fd) < 0) reportAndExit(pipe, errno);
  if (null > 2) close(null);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  execv(path, argv);
  reportAndExit(pipe, errno);
}

}  // namespace

ArgumentVector::ArgumentVector(const std::string& path, const std::vector<std::string>& arguments) {
  words_.reserve(arguments.size() + 1);
  words_.push_back(path);
  words_.insert(words_.end(), arguments.begin(), arguments.end());
  for (auto& word : words_) pointers_.push_back(word.data());
  pointers_.push_back(nullptr);
}

Status spawnDetached(const std::string& path, const std::vector<std::string>& arguments) {
  ArgumentVector argv(path, arguments);

  // The write end closes on a successful exec, so an empty read means it ran.
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) < 0) return fail(std::string("pipe: ") + std::strerror(errno));
  OwnedFd reportRead(ends[0]), reportWrite(ends[1]);
  pid_t child = fork();
  if (child < 0) return fail(std::string("fork: ") + std::strerror(errno));
  if (child == 0) {
    reportRead.reset();
    execDetached(path.c_str(), argv.data(), reportWrite.get());
  }
  reportWrite.reset();
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  while ((got = read(reportRead.get(), &error, sizeof error)) < 0 && errno == EINTR) {
  }
  if (got == static_cast<ssize_t>(sizeof error)) return fail(path + ": " + std::strerror(error));
  return {};
}

std::optional<std::string> findProgram(std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  const char* searchPath = std::getenv("PATH");
  std::string_view folders = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    auto colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    if (folder.empty()) folder = ".";
    std::string candidate = folder + "/" + std::string(name);
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    folders.remove_prefix(colon + 1);
  }
}

}  // namespace platform
