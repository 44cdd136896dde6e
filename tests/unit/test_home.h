// SPDX-License-Identifier: MIT
#pragma once
// What every unit test may need: a private home as bare as a fresh
// account's (no ~/Library), files and programs in it, environment
// variables, a bounded wait.
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace unit {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() { previous_ ? setenv(name_, previous_->c_str(), 1) : unsetenv(name_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

inline std::string readText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file a test puts somewhere stands for one that was there, and so does
// its folder.
inline void writeText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

inline void writeExecutable(const fs::path& path, const std::string& script) {
  writeText(path, script);
  chmod(path.c_str(), 0755);
}

// Name.app whose Contents/Info.plist names the program Name, and that program.
inline fs::path makeBundle(const fs::path& folder, const std::string& name, const std::string& script) {
  auto bundle = folder / (name + ".app");
  writeExecutable(bundle / "Contents" / "MacOS" / name, script);
  writeText(bundle / "Contents" / "Info.plist",
            "<plist version=\"1.0\"><dict><key>CFBundleExecutable</key><string>" + name + "</string></dict></plist>");
  return bundle;
}

// A session bus of the test's own, listening in folder and named by
// DBUS_SESSION_BUS_ADDRESS while the object lives; ended with it.
class PrivateSessionBus {
 public:
  explicit PrivateSessionBus(const fs::path& folder)
      : address_("unix:path=" + (folder / "bus").string()), environment_("DBUS_SESSION_BUS_ADDRESS", address_) {
    FILE* daemon = popen(("dbus-daemon --session --fork --print-pid=1 --address=" + address_).c_str(), "r");
    char pid[32] = "";
    if (daemon && fgets(pid, sizeof pid, daemon)) pid_ = std::atoi(pid);
    if (daemon) pclose(daemon);
  }
  ~PrivateSessionBus() {
    if (pid_ > 0) kill(pid_, SIGTERM);
  }
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

  bool running() const { return pid_ > 0; }
  const std::string& address() const { return address_; }

 private:
  std::string address_;
  ScopedEnvironment environment_;
  pid_t pid_ = 0;
};

// A temporary folder that is HOME while the object lives. It counts saves of
// files in its preferences folder (a rename onto the name, or a written
// close). The folder does not exist until a program makes it; the first
// count that finds it starts watching and counts each file already there as
// one save (tests count after every action, so that can only be one).
class TempHome {
 public:
  TempHome() : path_(makeFolder()), home_("HOME", path_.string()), watch_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
  ~TempHome() {
    close(watch_);
    std::error_code ignored;
    fs::permissions(preferences(), fs::perms::owner_all, ignored);
    fs::remove_all(path_, ignored);
  }

  const fs::path& path() const { return path_; }
  fs::path preferences() const { return path_ / "Library" / "Preferences"; }
  std::string preference(const std::string& name) const { return (preferences() / name).string(); }

  // Saves of that preferences file since the last time this was asked.
  int saves(const std::string& name) {
    if (!watching_ && fs::is_directory(preferences())) {
      watching_ = inotify_add_watch(watch_, preferences().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE) >= 0;
      for (const auto& entry : fs::directory_iterator(preferences()))
        if (entry.is_regular_file()) ++pending_[entry.path().filename().string()];
    }
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length; (length = read(watch_, buffer, sizeof buffer)) > 0;) {
      for (char* at = buffer; at < buffer + length;) {
        auto* event = reinterpret_cast<inotify_event*>(at);
        if (event->len > 0) ++pending_[event->name];
        at += sizeof(inotify_event) + event->len;
      }
    }
    return std::exchange(pending_[name], 0);
  }

 private:
  static fs::path makeFolder() {
    std::string pattern = (fs::temp_directory_path() / "retikon-test-XXXXXX").string();
    return mkdtemp(pattern.data());
  }

  fs::path path_;
  ScopedEnvironment home_;
  int watch_;
  bool watching_ = false;
  std::map<std::string, int> pending_;
};

// Polls until the condition holds or thirty seconds have passed: the
// bound only keeps a broken build from hanging, however busy the machine.
inline bool waitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace unit
