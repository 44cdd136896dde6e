#pragma once
// A private HOME with a preferences folder, and a count of the saves that
// replace a file there, for the tweaks page's tests.
#include <sys/inotify.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/plist/plist_dictionary.h"

namespace vantrel::testing {

class TemporaryHome {
 public:
  TemporaryHome() {
    if (const char* home = std::getenv("HOME")) oldHome_ = home;
    std::string pattern = (std::filesystem::temp_directory_path() / "tweaks-home-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    setenv("HOME", path_.c_str(), 1);
    std::filesystem::create_directories(preferencesFolder());
  }
  ~TemporaryHome() {
    if (oldHome_)
      setenv("HOME", oldHome_->c_str(), 1);
    else
      unsetenv("HOME");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  std::filesystem::path preferencesFolder() const { return path_ / "Library/Preferences"; }
  std::string preferencesFile(const std::string& name) const { return (preferencesFolder() / name).string(); }

 private:
  std::filesystem::path path_;
  std::optional<std::string> oldHome_;
};

inline std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline platform::PlistDictionary readPlist(const std::string& path) {
  auto file = platform::PlistDictionary::readFile(path);
  return file ? *file : platform::PlistDictionary();
}

// Counts how often a file of the folder is written or renamed into place:
// an atomic save shows as one rename onto the file's name.
class SaveCounter {
 public:
  SaveCounter(const std::filesystem::path& folder, std::string name)
      : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), name_(std::move(name)) {
    inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
  }
  ~SaveCounter() { close(fd_); }
  SaveCounter(const SaveCounter&) = delete;
  SaveCounter& operator=(const SaveCounter&) = delete;

  int saves() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      ssize_t length = read(fd_, buffer, sizeof buffer);
      if (length <= 0) break;
      for (char* at = buffer; at < buffer + length;) {
        auto* event = reinterpret_cast<inotify_event*>(at);
        if (event->len > 0 && name_ == event->name) ++saves_;
        at += sizeof(inotify_event) + event->len;
      }
    }
    return saves_;
  }

 private:
  int fd_;
  std::string name_;
  int saves_ = 0;
};

}  // namespace vantrel::testing
