// SPDX-License-Identifier: MIT
#pragma once
// The KWin script that tells the overlay where the pointer is: the overlay
// loads it from its own bundle, and the script calls the overlay's one
// method on the session bus whenever the pointer has moved.
#include "platform/pointer/pointer_bus_object.h"

namespace platform::kwin {

inline constexpr const char* kKWinService = "org.kde.KWin";
inline constexpr const char* kScriptingPath = "/Scripting";
inline constexpr const char* kScriptingInterface = "org.kde.kwin.Scripting";
inline constexpr const char* kScriptInterface = "org.kde.kwin.Script";
// The name KWin knows the script by: one copy per session.
inline constexpr const char* kPluginName = "retikonx-pointer";
// Inside RetikonX.app/Contents/Resources.
inline constexpr const char* kScriptFile = "kwin-script/retikonx-pointer.js";

// What the script calls: PointerMoved(x, y) in KWin's logical coordinates.
inline constexpr const char* kOverlayService = "com.Halvix.RetikonX";
using platform::kPointerInterface;
using platform::kPointerPath;
inline constexpr const char* kPointerMethod = "PointerMoved";

// KWin 5.27 tells programs only the state of Caps Lock; the X server knows
// the other modifiers only while one of its windows has the keyboard focus.
inline constexpr const char* kHeldKeysLimit =
    "KDE Plasma on Wayland does not let programs watch Control, Shift, Option or Command: the crosshair shows for "
    "them only while an X11 window has the keyboard focus. Choose Always, or Caps Lock alone, to see it over every "
    "window";

}  // namespace platform::kwin
