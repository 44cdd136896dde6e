#pragma once
// Temporary folders, programs and application bundles for the process tests.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace process_test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "retikon-process-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old, had_ = true;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (had_)
      setenv(name_, previous_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::string previous_;
  bool had_ = false;
};

inline void writeExecutable(const std::filesystem::path& path, const std::string& script) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << script;
  chmod(path.c_str(), 0755);
}

// Name.app with Contents/Info.plist naming the program, and that program.
inline std::filesystem::path makeBundle(const std::filesystem::path& folder, const std::string& name,
                                        const std::string& script) {
  auto bundle = folder / (name + ".app");
  std::filesystem::create_directories(bundle / "Contents" / "MacOS");
  std::ofstream(bundle / "Contents" / "Info.plist")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
         "<key>CFBundleExecutable</key><string>"
      << name << "</string></dict></plist>\n";
  writeExecutable(bundle / "Contents" / "MacOS" / name, script);
  return bundle;
}

inline std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Polls until the condition holds or five seconds have passed.
inline bool waitFor(const std::function<bool()>& condition) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace process_test
