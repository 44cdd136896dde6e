// SPDX-License-Identifier: MIT
#pragma once
// Scripts: compiled and run before the call returns. Only the script forms
// this system builds can be compiled; any other text fails to compile.
#include <string>

#include "platform/foundation/result.h"

namespace platform {

class ScriptRunner {
 public:
  virtual ~ScriptRunner() = default;
  // The reason when the script failed to compile or run.
  virtual Status execute(const std::string& source) = 0;
};

}  // namespace platform
