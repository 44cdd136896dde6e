// SPDX-License-Identifier: MIT
#pragma once
// How the programs and every library below them say something on stderr.
#include <string_view>

namespace platform {

// One line on stderr: the program's short name, a colon and the message, as
// in "RetikonX: lost the connection to the X display".
void logLine(std::string_view message);

}  // namespace platform
