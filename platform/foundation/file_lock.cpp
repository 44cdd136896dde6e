// SPDX-License-Identifier: MIT
#include "file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace platform {
namespace {

constexpr auto kLongestWait = std::chrono::seconds(3);

std::string lockPathFor(const std::string& path) {
  auto slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + base + ".lock";
}

}  // namespace

Result<FileLock> FileLock::acquire(const std::string& path) {
  const std::string lockPath = lockPathFor(path);
  const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
  for (;;) {
    OwnedFd fd(open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd) return fail("cannot lock " + path + ": " + lockPath + ": " + std::strerror(errno));
    while (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) return fail("cannot lock " + path + ": " + std::strerror(errno));
      if (std::chrono::steady_clock::now() > deadline)
        return fail(path + " is being changed by another program; try again");
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The previous holder removes the lock file as it lets go: a lock won
    // on a file that is no longer the one at the path keeps nobody out.
    struct stat held, current;
    if (fstat(fd.get(), &held) == 0 && stat(lockPath.c_str(), &current) == 0 && held.st_dev == current.st_dev &&
        held.st_ino == current.st_ino)
      return FileLock(lockPath, std::move(fd));
  }
}

FileLock::~FileLock() {
  // Unlinked before the lock goes, so a waiter that wins it next sees a
  // lock file that is no longer at the path and tries again.
  if (fd_) unlink(lockPath_.c_str());
}

}  // namespace platform
