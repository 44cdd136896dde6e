// SPDX-License-Identifier: MIT
#pragma once
// The one way any program here reads a property list: XML through a
// streaming parser, binary through an iterative walk of its object table,
// both into a tree built under the limits of plist_limits.h. No byte of a
// file reaches a recursive parser.
#include <plist/plist.h>

#include <string_view>

#include "platform/foundation/result.h"

namespace platform {

// The tree (owned by the caller) of an XML or binary property list, or why
// it cannot be read: too large, too deep, too many values, a binary file
// that contains itself, or no property list at all.
Result<plist_t> readPlistTree(std::string_view bytes);

// The readers of each form, without the size check.
Result<plist_t> readXmlPlist(std::string_view bytes);
Result<plist_t> readBinaryPlist(std::string_view bytes);

}  // namespace platform
