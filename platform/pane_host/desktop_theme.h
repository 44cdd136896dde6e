// SPDX-License-Identifier: MIT
#pragma once
// The look of the settings window: under a GTK-based desktop, Qt's GTK 3
// platform theme (when installed), so it looks like the user's other
// settings windows. Chosen before the application object is made.
#include <optional>
#include <string>

#include "platform/desktop/desktop_session.h"

namespace platform {

inline constexpr const char* kGtkPlatformTheme = "gtk3";

// The platform theme to ask for; nothing where the user chose one
// (QT_QPA_PLATFORMTHEME), the desktop is not GTK-based, or the theme is
// not installed.
std::optional<std::string> platformThemeFor(const DesktopSession& session, const char* chosenTheme,
                                            bool gtkThemeInstalled);

// Sets QT_QPA_PLATFORMTHEME for this session as platformThemeFor says.
void useDesktopTheme();

}  // namespace platform
