#pragma once
#include <optional>
#include <string>

namespace platform {

// Why no window can be shown (no display, or one that cannot be reached);
// nothing when the toolkit's platform is not X11 or the X server answers.
std::optional<std::string> missingDisplay();

}  // namespace platform
