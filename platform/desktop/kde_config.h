// SPDX-License-Identifier: MIT
#pragma once
// KDE's configuration files, written by KDE's own writer so its locking
// and caching hold.
#include <optional>
#include <string>

#include "platform/foundation/result.h"
#include "platform/process/task_runner.h"

namespace platform {

// kwriteconfig6, else kwriteconfig5, from PATH; nothing when neither is there.
std::optional<std::string> kdeConfigWriter();

Status writeKdeConfig(TaskRunner& tasks, const std::string& writer, const std::string& file,
                      const std::string& group, const std::string& key, const std::string& value);

}  // namespace platform
