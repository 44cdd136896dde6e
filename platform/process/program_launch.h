// SPDX-License-Identifier: MIT
#pragma once
// Starting programs by path, without a shell: nothing in an argument is
// ever interpreted.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/result.h"

namespace platform {

// The argument vector exec wants: the path, then the arguments, then null.
class ArgumentVector {
 public:
  ArgumentVector(const std::string& path, const std::vector<std::string>& arguments);
  char* const* data() { return pointers_.data(); }

 private:
  std::vector<std::string> words_;
  std::vector<char*> pointers_;
};

// Starts the program detached from the caller: in its own session, with its
// standard streams on /dev/null, never a child the caller has to reap. The
// reason when it could not be started (exec failed included).
Status spawnDetached(const std::string& path, const std::vector<std::string>& arguments);

// The first executable file called name in the folders of PATH; nothing
// when there is none or name holds a slash.
std::optional<std::string> findProgram(std::string_view name);

}  // namespace platform
