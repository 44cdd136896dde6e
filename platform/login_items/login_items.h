// SPDX-License-Identifier: MIT
#pragma once
// Login items: programs the desktop starts at every login, kept as XDG
// autostart desktop entries, one per item, named after the item.
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/result.h"

namespace platform {

class LoginItems {
 public:
  // $XDG_CONFIG_HOME/autostart when that is an absolute path, else
  // ~/.config/autostart; read afresh at every call.
  static std::string autostartFolder();

  // Makes the application at path start at login. The item is named after
  // the application (a bundle's name without ".app"); adding an item under
  // a name that exists replaces it, so there is never more than one entry
  // per name.
  Status add(const std::string& path);

  // Removes the item of that name; fails when there is none or it could
  // not be removed.
  Status remove(std::string_view name);

  // The entry file of an item, nothing for a name that cannot be one (empty,
  // ".", "..", or holding a slash or a NUL).
  static std::optional<std::string> entryPath(std::string_view name);
};

// One argument of an Exec line, quoted by the Desktop Entry rules and then
// escaped as a string value: "\\\\" in the file is one backslash.
std::string desktopEntryExecArgument(std::string_view argument);

// A string value of a desktop entry: backslash, line feed, tab and carriage
// return written as escapes.
std::string desktopEntryString(std::string_view value);

}  // namespace platform
