// SPDX-License-Identifier: MIT
#pragma once
// Where scroll bars draw their arrow buttons, for the toolkits that have
// them: GTK 3 (its four stepper style properties) and KDE's Breeze style.
// Both read their settings when a program starts.
#include <string>
#include <string_view>

#include "platform/desktop/desktop_session.h"
#include "platform/foundation/result.h"

namespace platform {

// GTK 3's steppers: backward and forward at their own ends, the secondary
// ones beside the opposite end's stepper.
struct ScrollBarSteppers {
  bool backward = true;
  bool forward = true;
  bool secondaryBackward = false;
  bool secondaryForward = false;
};

inline constexpr const char* kGtkArrowsFile = "vantrel-scrollbar-arrows.css";

// The style sheet that sets the four stepper properties.
std::string gtkStepperStyle(const ScrollBarSteppers& steppers);

// The user's gtk.css with one import of our file: every line of it kept,
// the import added once, before the rules (CSS wants imports first).
std::string withGtkImport(std::string_view userCss);

// An INI text with key=value set in [group]: the other lines kept, a
// missing group or key added.
std::string withIniValue(std::string_view ini, std::string_view group, std::string_view key, std::string_view value);

// Writes config/gtk-3.0/ with our file and the import, and, where Breeze
// may draw the scroll bars (a KDE session, or a breezerc already there),
// config/breezerc, all atomically. config is $XDG_CONFIG_HOME (~/.config).
Status writeScrollBarArrows(const std::string& config, const DesktopSession& session,
                            const ScrollBarSteppers& steppers, bool& breezeChanged);

}  // namespace platform
