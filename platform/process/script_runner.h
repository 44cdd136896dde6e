#pragma once
// Scripts: compiled and run before the call returns. Only the script forms
// this system builds can be compiled; any other text fails to compile.
#include <optional>
#include <string>

namespace platform {

class ScriptRunner {
 public:
  virtual ~ScriptRunner() = default;
  // Nothing on success; the reason when the script failed to compile or run.
  virtual std::optional<std::string> execute(const std::string& source) = 0;
};

}  // namespace platform
