// SPDX-License-Identifier: MIT
#pragma once
// The overlay's pointer on the desktop this process runs on: nothing to do
// on X11; on GNOME's Wayland session the pointer extension from the pane's
// bundle is installed for the user and enabled; on KDE Plasma's the overlay
// has KWin run its script itself, but held keys are seen only over X windows;
// elsewhere on Wayland, the reason the crosshair cannot follow the pointer.
#include <filesystem>

#include "platform/desktop/overlay_pointer_setup.h"

namespace platform {

class SessionOverlayPointerSetup final : public OverlayPointerSetup {
 public:
  Result<std::string> prepareOverlayPointer(const std::string& paneBundle) override;
  std::string heldKeysLimit() override;
};

// Copies the extension's files from the pane's bundle into the user's GNOME
// Shell extensions (under dataHome, ~/.local/share unless XDG_DATA_HOME says).
Status installGnomePointerExtension(const std::filesystem::path& paneBundle, const std::filesystem::path& dataHome);

}  // namespace platform
