// SPDX-License-Identifier: MIT
#pragma once
// The scripts this system builds, compiled from their text. Only these four
// forms compile; any other text is an error, so an inserted text can never
// make a script do more than its form allows.
//
//   tell application "System Events"
//    make new login item at end with properties {path:"PATH", hidden:false}
//    end tell
//   tell application "System Events"
//    delete login item "NAME"
//    end tell
//   property target_URL : "URL"
//    open location target_URL
//   tell application "NAME" to quit
//
// Keywords are matched without regard to case, blanks and line breaks
// between words are free, and a string literal takes the escapes \" \\ \n
// \t \r.
#include <string>
#include <string_view>
#include <variant>

#include "platform/foundation/result.h"

namespace platform {

struct AddLoginItem {
  std::string application;  // the application addressed, "System Events" to work
  std::string path;
  bool hidden = false;
};
struct DeleteLoginItem {
  std::string application;
  std::string name;
};
struct OpenLocation {
  std::string location;
};
struct QuitApplication {
  std::string name;
};

using CompiledScript = std::variant<AddLoginItem, DeleteLoginItem, OpenLocation, QuitApplication>;

Result<CompiledScript> compileScript(std::string_view source);

// Text as a script string literal: in double quotes, with every double
// quote and backslash escaped.
std::string scriptStringLiteral(std::string_view text);

}  // namespace platform
