// SPDX-License-Identifier: MIT
#pragma once
// What a property-list reader accepts. Preference files are a few
// kilobytes and nest a handful of levels; these bounds are far beyond any
// real file and keep a hostile one from costing a reader more than a few
// megabytes or a fraction of a second. Writers hold to them too, so no
// program writes a file that its readers then refuse.
#include <cstddef>

namespace platform {

// A larger file is refused before it is read in full.
inline constexpr size_t kLargestPlistFile = size_t{1} << 20;
// Arrays and dictionaries inside one another; the tree is freed, copied
// and written by recursion, one call per level.
inline constexpr int kDeepestNesting = 100;
// Values and dictionary keys as the reader builds them: a binary file may
// refer to one value from many places, and each reference is a copy of
// its own in memory, so the count is of copies, not of bytes.
inline constexpr size_t kMostPlistNodes = 100'000;

}  // namespace platform
