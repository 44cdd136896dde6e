// SPDX-License-Identifier: MIT
#pragma once
// The AppKit version number the pane classifies the running system by.
// This platform offers everything the newest generation the pane knows of
// offers, so the number lies above every threshold the pane tests.

namespace platform {

inline constexpr double NSAppKitVersionNumber = 2487.0;

}  // namespace platform
