// SPDX-License-Identifier: MIT
#pragma once
// Owners for the C library's handles, so each is released exactly once on
// every path, a throwing one included.
#include <dirent.h>
#include <unistd.h>

#include <memory>
#include <utility>

namespace platform {

struct DirectoryCloser {
  void operator()(DIR* directory) const { closedir(directory); }
};
using OwnedDirectory = std::unique_ptr<DIR, DirectoryCloser>;

// A file descriptor; -1 holds none.
class OwnedFd {
 public:
  OwnedFd() = default;
  explicit OwnedFd(int fd) : fd_(fd) {}
  OwnedFd(OwnedFd&& other) noexcept : fd_(other.release()) {}
  OwnedFd& operator=(OwnedFd&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~OwnedFd() { reset(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

}  // namespace platform
