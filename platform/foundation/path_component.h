// SPDX-License-Identifier: MIT
#pragma once
// Names from files and users that become one component of a path (a
// bundle's program, a login item, a preferences domain): the one check that
// keeps them from naming anything outside their folder.
#include <string_view>

namespace platform {

// True for a non-empty name that is neither "." nor ".." and holds no slash
// and no NUL character.
inline bool isSinglePathComponent(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

}  // namespace platform
