// SPDX-License-Identifier: MIT
#pragma once
// A change to a preference file that other programs write too (the settings
// window, the defaults tool, the desktop's own tools): read, change and
// replace it as one step, so no writer's keys are lost to another's.
#include <functional>
#include <string>

#include "platform/foundation/result.h"
#include "platform/plist/plist_dictionary.h"

namespace platform {

// Under the file's lock (FileLock): reads the file, starting from an empty
// dictionary only when there is no such file, applies change, and replaces
// the file atomically. A missing folder is made (mode 0700, parents too).
// Anything else at the path that is no readable dictionary (no permission,
// a FIFO or device, too large or deep, no property list) may be someone's
// data: it is left untouched and the reason returned.
Status updatePreferenceFile(const std::string& path, const std::function<void(PlistDictionary&)>& change);

}  // namespace platform
