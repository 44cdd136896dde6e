// SPDX-License-Identifier: MIT
#include "system_log.h"

#include <errno.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>



namespace platform {

void systemLog(std::string_view message) {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t seconds = system_clock::to_time_t(now);
  auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  std::string line = std::string(stamp) + "." + std::to_string(1000 + millis).substr(1) + " " +
                     program_invocation_short_name + "[" + std::to_string(getpid()) + "] " +
                     std::string(message) + "\n";
  std::fputs(line.c_str(), stderr);
}

}  // namespace platform
