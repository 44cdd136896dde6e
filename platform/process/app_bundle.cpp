// SPDX-License-Identifier: MIT
#include "app_bundle.h"

#include "platform/foundation/path_component.h"
#include "platform/plist/plist_dictionary.h"

namespace platform {
namespace {

std::string_view withoutTrailingSlashes(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return path;
}

std::string_view lastComponent(std::string_view path) {
  path = withoutTrailingSlashes(path);
  auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

constexpr std::string_view kBundleSuffix = ".app";

}  // namespace

bool isApplicationBundle(std::string_view path) {
  auto name = lastComponent(path);
  return name.size() > kBundleSuffix.size() && name.ends_with(kBundleSuffix);
}

std::string applicationName(std::string_view path) {
  auto name = lastComponent(path);
  if (isApplicationBundle(path)) name.remove_suffix(kBundleSuffix.size());
  return std::string(name);
}

std::optional<std::string> bundleExecutable(std::string_view bundlePath) {
  std::string bundle(withoutTrailingSlashes(bundlePath));
  auto info = PlistDictionary::readFile(bundle + "/Contents/Info.plist");
  if (!info) return std::nullopt;
  auto executable = info->string("CFBundleExecutable");
  if (!executable || !isSinglePathComponent(*executable)) return std::nullopt;
  return bundle + "/Contents/MacOS/" + *executable;
}

std::optional<std::string> bundleOfExecutable(std::string_view executablePath) {
  constexpr std::string_view kMarker = "/Contents/MacOS/";
  auto marker = executablePath.rfind(kMarker);
  if (marker == std::string_view::npos) return std::nullopt;
  auto program = executablePath.substr(marker + kMarker.size());
  if (program.empty() || program.find('/') != std::string_view::npos) return std::nullopt;
  auto bundle = executablePath.substr(0, marker);
  if (!isApplicationBundle(bundle)) return std::nullopt;
  return std::string(bundle);
}

}  // namespace platform
