// SPDX-License-Identifier: MIT
#include "log.h"

#include <errno.h>  // program_invocation_short_name

#include <cstdio>
#include <string>

namespace platform {

void logLine(std::string_view message) {
  // Written whole in one call, so lines from two threads never interleave.
  std::string line = std::string(program_invocation_short_name) + ": ";
  line.append(message).append("\n");
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace platform
