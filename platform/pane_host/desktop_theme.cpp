// SPDX-License-Identifier: MIT
#include "desktop_theme.h"

#include <QLibraryInfo>

#include <cstdlib>
#include <filesystem>

namespace platform {

std::optional<std::string> platformThemeFor(const DesktopSession& session, const char* chosenTheme,
                                            bool gtkThemeInstalled) {
  if ((chosenTheme && *chosenTheme) || !gtkThemeInstalled) return std::nullopt;
  if (!session.isGtkBased()) return std::nullopt;
  return kGtkPlatformTheme;
}

void useDesktopTheme() {
  const std::filesystem::path plugin =
      QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() + "/platformthemes/libqgtk3.so";
  std::error_code error;
  if (auto theme = platformThemeFor(DesktopSession::fromEnvironment(), std::getenv("QT_QPA_PLATFORMTHEME"),
                                    std::filesystem::exists(plugin, error)))
    setenv("QT_QPA_PLATFORMTHEME", theme->c_str(), 1);
}

}  // namespace platform
