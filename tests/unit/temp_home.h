#pragma once
// A temporary home folder for one test: HOME points at it while the object
// lives, and everything in it is removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <string>

class TempHome {
 public:
  TempHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "retikon-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    const char* home = std::getenv("HOME");
    hadHome_ = home != nullptr;
    if (home) previous_ = home;
    setenv("HOME", path_.c_str(), 1);
    std::filesystem::create_directories(preferences());
  }
  ~TempHome() {
    if (hadHome_)
      setenv("HOME", previous_.c_str(), 1);
    else
      unsetenv("HOME");
    std::error_code ignored;
    std::filesystem::permissions(preferences(), std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path preferences() const { return path_ / "Library" / "Preferences"; }

 private:
  std::filesystem::path path_;
  std::string previous_;
  bool hadHome_ = false;
};
