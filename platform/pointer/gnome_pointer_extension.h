// SPDX-License-Identifier: MIT
#pragma once
// The GNOME Shell extension that tells the overlay where the pointer is: the
// pane installs it; on the session bus the overlay asks it once, then
// listens to what it announces.
#include "platform/pointer/pointer_bus_object.h"

namespace platform::gnome {

inline constexpr const char* kExtensionUuid = "retikonx-pointer@halvix.com";
inline constexpr const char* kShellService = "org.gnome.Shell";
using platform::kPointerInterface;
using platform::kPointerPath;
// Both carry (x, y, modifiers): stage coordinates and Clutter's modifier mask.
inline constexpr const char* kPointerMethod = "GetPointer";
inline constexpr const char* kPointerSignal = "PointerChanged";

}  // namespace platform::gnome
