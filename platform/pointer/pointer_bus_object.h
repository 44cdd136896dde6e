// SPDX-License-Identifier: MIT
#pragma once
// The one bus object through which a compositor's helper and the overlay
// talk about the pointer: the GNOME Shell extension serves it, the KWin
// script calls the overlay's copy of it.
namespace platform {

inline constexpr const char* kPointerPath = "/com/Halvix/RetikonX/Pointer";
inline constexpr const char* kPointerInterface = "com.Halvix.RetikonX.Pointer";

}  // namespace platform
