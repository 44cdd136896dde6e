// SPDX-License-Identifier: MIT
#pragma once
// The GNOME Shell extension that tells the overlay where the pointer is: the
// pane installs it, the overlay calls its one method on the session bus.
#include "platform/pointer/pointer_bus_object.h"

namespace platform::gnome {

inline constexpr const char* kExtensionUuid = "retikonx-pointer@halvix.com";
inline constexpr const char* kShellService = "org.gnome.Shell";
using platform::kPointerInterface;
using platform::kPointerPath;
// Answers (x, y, modifiers): stage coordinates and Clutter's modifier mask.
inline constexpr const char* kPointerMethod = "GetPointer";

}  // namespace platform::gnome
