// SPDX-License-Identifier: MIT
#include "overlay_scripts.h"

#include <unistd.h>

#include <filesystem>

#include "platform/foundation/text.h"
#include "platform/process/script_compiler.h"

namespace vantrel {

namespace {

bool samePath(const std::string& a, const std::string& b) {
  std::error_code error;
  if (std::filesystem::equivalent(a, b, error)) return true;
  return std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal();
}

}  // namespace

std::string overlayApplicationPath(const std::string& paneBundle) {
  std::string bundle = paneBundle;
  while (bundle.size() > 1 && bundle.back() == '/') bundle.pop_back();
  if (!bundle.empty() && !samePath(bundle, platform::expandTilde(kUserPanePath)) && !samePath(bundle, kAllUsersPanePath))
    return bundle + kOverlayInPane;
  std::string userCopy = platform::expandTilde(kUserOverlayPath);
  if (access(userCopy.c_str(), F_OK) == 0) return userCopy;
  return kAllUsersOverlayPath;
}

std::string addLoginItemScript(std::string_view applicationPath) {
  std::string script = "tell application \"System Events\"\n make new login item at end with properties {path:";
  script += platform::scriptStringLiteral(applicationPath);
  script += ", hidden:false} \n end tell";
  return script;
}

std::string deleteLoginItemScript() {
  return "tell application \"System Events\"\n delete login item \"RetikonX\"\n end tell";
}

std::string openLocationScript(std::string_view address) {
  std::string script = "property target_URL : ";
  script += platform::scriptStringLiteral(address);
  script += "\n open location target_URL";
  return script;
}

}  // namespace vantrel
