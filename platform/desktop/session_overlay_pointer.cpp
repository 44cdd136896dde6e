// SPDX-License-Identifier: MIT
#include "platform/desktop/session_overlay_pointer.h"

#include <system_error>

#include "platform/desktop/desktop_session.h"
#include "platform/desktop/gio_desktop.h"
#include "platform/foundation/atomic_file.h"
#include "platform/foundation/text.h"
#include "platform/pointer/gnome_pointer_extension.h"
#include "platform/pointer/kwin_pointer_script.h"
#include "platform/pointer/pointer_choice.h"

namespace platform {
namespace fs = std::filesystem;

Status installGnomePointerExtension(const fs::path& paneBundle, const fs::path& dataHome) {
  const fs::path from = paneBundle / "Contents/Resources/gnome-shell-extension";
  const fs::path to = dataHome / "gnome-shell/extensions" / gnome::kExtensionUuid;
  if (Status made = makeFolders(to.string(), 0777); !made)
    return fail("the GNOME Shell extension was not installed: " + made.error());
  for (const char* file : {"metadata.json", "extension.js"}) {
    std::error_code error;
    fs::copy_file(from / file, to / file, fs::copy_options::overwrite_existing, error);
    if (error) return fail("the GNOME Shell extension was not installed in " + to.string() + ": " + error.message());
  }
  return {};
}

std::string SessionOverlayPointerSetup::heldKeysLimit() {
  if (choosePointerSource(DesktopSession::fromEnvironment()).kind == PointerSourceKind::KWinScript)
    return kwin::kHeldKeysLimit;
  return std::string();
}

Result<std::string> SessionOverlayPointerSetup::prepareOverlayPointer(const std::string& paneBundle) {
  PointerSourceChoice choice = choosePointerSource(DesktopSession::fromEnvironment());
  if (choice.kind == PointerSourceKind::XServer || choice.kind == PointerSourceKind::KWinScript) return std::string();
  if (choice.kind == PointerSourceKind::None) return choice.whyNone;

  if (Status installed = installGnomePointerExtension(paneBundle, dataHome()); !installed) return fail(installed.error());
  // Switching the overlay on asks for the extension, even one the user turned off before.
  for (auto [key, listed] : {std::pair{"enabled-extensions", true}, std::pair{"disabled-extensions", false}}) {
    if (!listed && !gio::hasSchemaKey("org.gnome.shell", key)) continue;
    if (Status set = gio::setListed("org.gnome.shell", key, gnome::kExtensionUuid, listed); !set)
      return fail("the GNOME Shell extension was not enabled: " + set.error());
  }
  // GNOME Shell loads a new extension only at login. Not asked for the
  // pointer: whoever asks is told of every change from then on.
  if (gio::offers(gnome::kShellService, gnome::kPointerPath, gnome::kPointerInterface))
    return std::string();
  return std::string("Log out and back in once so that the crosshair can follow the pointer");
}

}  // namespace platform
