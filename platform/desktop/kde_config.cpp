// SPDX-License-Identifier: MIT
#include "platform/desktop/kde_config.h"

#include "platform/process/program_launch.h"

namespace platform {

std::optional<std::string> kdeConfigWriter() {
  if (auto writer = findProgram("kwriteconfig6")) return writer;
  return findProgram("kwriteconfig5");
}

Status writeKdeConfig(TaskRunner& tasks, const std::string& writer, const std::string& file,
                      const std::string& group, const std::string& key, const std::string& value) {
  Result<int> exitStatus = tasks.runAndWait(writer, {"--file", file, "--group", group, "--key", key, "--", value});
  if (!exitStatus) return fail("could not run " + writer + ": " + exitStatus.error());
  if (*exitStatus != 0)
    return fail(writer + " could not set " + key + " in " + file + " (exit status " + std::to_string(*exitStatus) + ")");
  return {};
}

}  // namespace platform
