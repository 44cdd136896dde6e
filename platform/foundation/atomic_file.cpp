// SPDX-License-Identifier: MIT
#include "atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include "owned_handles.h"

namespace platform {
namespace {

// Follows a chain of symlinks (also a dangling one) to the path to replace.
std::string resolveLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(static_cast<size_t>(info.st_size) + 256, '\0');
    ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0) return path;
    target.resize(static_cast<size_t>(n));
    path = target[0] == '/' ? target : folderOf(path) + "/" + target;
  }
  return path;
}

std::string temporaryPrefix(const std::string& base) { return "." + base + "."; }

// Temporaries of writers that were killed before their rename: the process
// that made one is named in it, and once that process is gone nobody will
// finish the file.
void removeAbandonedTemporaries(const std::string& folder, const std::string& base) {
  OwnedDirectory dir(opendir(folder.c_str()));
  if (!dir) return;
  const std::string prefix = temporaryPrefix(base);
  while (dirent* entry = readdir(dir.get())) {
    std::string_view name = entry->d_name;
    if (name.size() <= prefix.size() + 4 || name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - 4) != ".tmp")
      continue;
    pid_t owner = static_cast<pid_t>(std::strtol(std::string(name.substr(prefix.size())).c_str(), nullptr, 10));
    if (owner <= 0 || owner == getpid()) continue;
    if (kill(owner, 0) != 0 && errno == ESRCH) unlinkat(dirfd(dir.get()), entry->d_name, 0);
  }
}

Error failure(const char* what, const std::string& path, int error) {
  return fail(std::string(what) + " " + path + ": " + std::strerror(error));
}

}  // namespace

namespace {

std::string baseName(const std::string& path) {
  return path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
}

// A new file with a unique name beside target, written in full and
// flushed: its path. Nothing is left behind on failure.
Result<std::string> writeTemporary(const std::string& target, std::string_view content, std::optional<mode_t> mode) {
  const std::string folder = folderOf(target);
  static thread_local std::mt19937_64 random{std::random_device{}()};
  std::string temporary;
  OwnedFd fd;
  for (int attempt = 0; attempt < 100 && !fd; ++attempt) {
    temporary = folder + "/" + temporaryPrefix(baseName(target)) + std::to_string(getpid()) + "." +
                std::to_string(random() % 1000000000) + ".tmp";
    fd.reset(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd && errno != EEXIST) return failure("cannot create a file in", folder, errno);
  }
  if (!fd) return failure("cannot create a file in", folder, EEXIST);

  auto abandon = [&](const char* what, const std::string& subject) {
    int error = errno;
    fd.reset();
    unlink(temporary.c_str());
    return failure(what, subject, error);
  };
  if (mode && fchmod(fd.get(), *mode) != 0) return abandon("cannot set the mode of", temporary);
  for (size_t written = 0; written < content.size();) {
    ssize_t n = write(fd.get(), content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return abandon("cannot write", temporary);
    }
    written += static_cast<size_t>(n);
  }
  // The data must be on disk before the rename can expose it; the rename
  // itself needs no flush of the folder: lost in a power cut, it leaves the
  // previous file, which is whole.
  if (fdatasync(fd.get()) != 0) return abandon("cannot flush", temporary);
  if (close(fd.release()) != 0) return abandon("cannot close", temporary);
  return temporary;
}

}  // namespace

Status writeFileAtomically(const std::string& path, std::string_view content) {
  const std::string target = resolveLinks(path);
  struct stat existing;
  std::optional<mode_t> mode;
  if (stat(target.c_str(), &existing) == 0) mode = existing.st_mode & 07777;
  auto temporary = writeTemporary(target, content, mode);
  if (!temporary) return fail(temporary.error());
  if (rename(temporary->c_str(), target.c_str()) != 0) {
    int error = errno;
    unlink(temporary->c_str());
    return failure("cannot replace", target, error);
  }
  removeAbandonedTemporaries(folderOf(target), baseName(target));
  return {};
}

Status createFileExclusively(const std::string& path, std::string_view content, mode_t mode) {
  auto temporary = writeTemporary(path, content, mode);
  if (!temporary) return fail(temporary.error());
  // A link, unlike a rename, never replaces what is there.
  const int linked = link(temporary->c_str(), path.c_str());
  const int error = errno;
  unlink(temporary->c_str());
  if (linked != 0 && error != EEXIST) return failure("cannot create", path, error);
  return {};
}

Result<std::optional<std::string>> readRegularFile(const std::string& path, size_t limit) {
  // Non-blocking, so a FIFO at the path cannot hold the reader until a
  // writer comes; it is refused below like every other non-regular file.
  OwnedFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd) {
    if (errno == ENOENT) return std::optional<std::string>();
    return failure("cannot open", path, errno);
  }
  struct stat info;
  if (fstat(fd.get(), &info) != 0) return failure("cannot examine", path, errno);
  if (!S_ISREG(info.st_mode)) return fail(path + " is not a regular file");
  std::string content;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) return failure("cannot read", path, errno);
    if (n == 0) break;
    if (content.size() + static_cast<size_t>(n) > limit)
      return fail(path + " is larger than " + std::to_string(limit) + " bytes");
    content.append(buffer, static_cast<size_t>(n));
  }
  return std::optional<std::string>(std::move(content));
}

std::optional<std::string> readWholeFile(const std::string& path, size_t limit) {
  auto content = readRegularFile(path, limit);
  if (!content) return std::nullopt;
  return std::move(content.value());
}

std::string folderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string canonicalPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

Status makeFolders(const std::string& folder, mode_t mode) {
  struct stat info;
  if (stat(folder.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return {};
    return fail(folder + " is not a folder");
  }
  if (errno != ENOENT) return failure("cannot examine", folder, errno);
  const std::string parent = folderOf(folder);
  if (parent != folder && parent != ".") {
    if (auto made = makeFolders(parent, mode); !made) return made;
  }
  // Another writer may make it at the same moment.
  if (mkdir(folder.c_str(), mode) != 0 && errno != EEXIST) return failure("cannot create", folder, errno);
  return {};
}

}  // namespace platform
