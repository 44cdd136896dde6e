// SPDX-License-Identifier: MIT
#pragma once
// The readout's lettering: digits, the minus sign and the comma of its label,
// each drawn as a few round-capped strokes on the pixel grid. Drawing them
// needs no font library, so fontconfig and FreeType are never set up.
#include <cairo.h>

#include <string_view>

namespace platform::x11 {

// The height in pixels of a digit; a comma reaches two pixels below it.
inline constexpr int kGlyphHeight = 9;

// The width in pixels from the first painted column to the last. A character
// outside the set takes a digit's place and paints nothing.
int strokeTextWidth(std::string_view text);

// Strokes the text in the cairo's current source, the top-left pixel of its
// first digit at (left, top); both are whole pixels.
void strokeText(cairo_t* cairo, std::string_view text, int left, int top);

}  // namespace platform::x11
