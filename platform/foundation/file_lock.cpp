#include "file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

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
    int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return fail("cannot lock " + path + ": " + lockPath + ": " + std::strerror(errno));
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) {
        int error = errno;
        close(fd);
        return fail("cannot lock " + path + ": " + std::strerror(error));
      }
      if (std::chrono::steady_clock::now() > deadline) {
        close(fd);
        return fail(path + " is being changed by another program; try again");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The previous holder removes the lock file as it lets go: a lock won
    // on a file that is no longer the one at the path keeps nobody out.
    struct stat held, current;
    if (fstat(fd, &held) == 0 && stat(lockPath.c_str(), &current) == 0 && held.st_dev == current.st_dev &&
        held.st_ino == current.st_ino)
      return FileLock(lockPath, fd);
    close(fd);
  }
}

FileLock::FileLock(FileLock&& other) noexcept : lockPath_(std::move(other.lockPath_)), fd_(std::exchange(other.fd_, -1)) {}

FileLock::~FileLock() {
  if (fd_ < 0) return;
  unlink(lockPath_.c_str());
  close(fd_);
}

}  // namespace platform
