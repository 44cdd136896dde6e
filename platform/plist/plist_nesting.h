// SPDX-License-Identifier: MIT
#pragma once
// How deeply a property list nests, found from its bytes before the parser
// sees them: the parser, the XML writer and freeing the tree all recurse
// once per level, and the binary reader checks each new level against all
// of its parents, so a hostile file of a few hundred kilobytes could crash
// or stall every reader.
#include <string_view>

#include "platform/foundation/result.h"

namespace platform {

// Preference files nest a handful of levels; a hundred is far beyond any
// real one and far below what the recursion can bear.
inline constexpr int kDeepestNesting = 100;

// An error when the XML elements (or, for a binary property list, the
// arrays, sets and dictionaries) nest deeper than kDeepestNesting, or when
// a binary property list refers back to one of its own containers or
// cannot be followed at all.
Status checkNesting(std::string_view bytes);

}  // namespace platform
