// SPDX-License-Identifier: MIT
#pragma once
// Keeps other writers of a file out while one reads, changes and replaces
// it: an advisory lock on a lock file beside it, ".NAME.lock", which is
// removed again when the lock is released, so the folder holds no trace of
// it between saves. Every writer of the preference files takes it; readers
// need none, since each replacement is atomic.
#include <string>

#include "platform/foundation/owned_handles.h"
#include "platform/foundation/result.h"

namespace platform {

class FileLock {
 public:
  // Waits at most a few seconds for the lock on the file at path. Holders
  // only read, change and write a small file, so a lock held longer than
  // that belongs to a stuck program; the save fails rather than hang the
  // settings window with it.
  static Result<FileLock> acquire(const std::string& path);

  FileLock(FileLock&& other) noexcept = default;
  FileLock& operator=(FileLock&&) = delete;
  FileLock(const FileLock&) = delete;
  ~FileLock();

 private:
  FileLock(std::string lockPath, OwnedFd fd) : lockPath_(std::move(lockPath)), fd_(std::move(fd)) {}
  std::string lockPath_;
  OwnedFd fd_;
};

}  // namespace platform
