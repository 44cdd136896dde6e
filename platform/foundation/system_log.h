// SPDX-License-Identifier: MIT
#pragma once
#include <string_view>

namespace platform {

// One line on stderr: date, time, program name and process id, message.
void systemLog(std::string_view message);

}  // namespace platform
