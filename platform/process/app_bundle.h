// SPDX-License-Identifier: MIT
#pragma once
// Application bundles: a folder "Name.app" whose Contents/Info.plist names
// the program in Contents/MacOS that runs it.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True for a path whose last component ends in ".app" (trailing slashes ignored).
bool isApplicationBundle(std::string_view path);

// The bundle's name: its last component without ".app"; for any other path
// the last component itself.
std::string applicationName(std::string_view path);

// Contents/MacOS/<CFBundleExecutable of Contents/Info.plist>; nothing when
// the property list cannot be read, names no executable, or names one with
// a slash in it.
std::optional<std::string> bundleExecutable(std::string_view bundlePath);

// For an executable inside a bundle (".../Name.app/Contents/MacOS/prog"),
// the bundle's path; nothing otherwise.
std::optional<std::string> bundleOfExecutable(std::string_view executablePath);

}  // namespace platform
