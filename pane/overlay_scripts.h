// SPDX-License-Identifier: MIT
#pragma once
// Where the pane finds the overlay application it carries, and the scripts
// that make it a login item, remove it again and open an address.
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr const char* kOverlayName = "RetikonX";
inline constexpr const char* kUserPanePath = "~/Library/PreferencePanes/Vantrel.prefPane";
inline constexpr const char* kAllUsersPanePath = "/Library/PreferencePanes/Vantrel.prefPane";
inline constexpr const char* kOverlayInPane = "/Contents/Resources/RetikonX.app";
inline constexpr const char* kUserOverlayPath =
    "~/Library/PreferencePanes/Vantrel.prefPane/Contents/Resources/RetikonX.app";
inline constexpr const char* kAllUsersOverlayPath =
    "/Library/PreferencePanes/Vantrel.prefPane/Contents/Resources/RetikonX.app";

// The overlay that the pane loaded from paneBundle starts. A pane that is
// neither installed copy (one run in place from a build tree) starts the
// overlay it carries. Otherwise: the copy in the pane installed for this
// user when there is one, else the copy in the pane installed for all users
// (not tested: it is the last resort either way).
std::string overlayApplicationPath(const std::string& paneBundle);

// The inserted texts are escaped as script strings, so a double quote or a
// backslash in them is only a character of the path or the address.
std::string addLoginItemScript(std::string_view applicationPath);
std::string deleteLoginItemScript();
std::string openLocationScript(std::string_view address);

}  // namespace vantrel
