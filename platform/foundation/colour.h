// SPDX-License-Identifier: MIT
#pragma once
// Colour objects: immutable values held by shared pointer. Identity is the
// pointer; copying a colour object gives back the same object.
#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace platform {

struct Colour {
  float red = 0, green = 0, blue = 0, alpha = 1;
  bool operator==(const Colour&) const = default;
};

using ColourRef = std::shared_ptr<const Colour>;

ColourRef makeColour(float red, float green, float blue, float alpha = 1.0f);

// A copy of an immutable colour object is that same object.
inline ColourRef copy(const ColourRef& colour) { return colour; }

// The named colours. Each call makes a new object.
ColourRef blackColor();
ColourRef whiteColor();
ColourRef yellowColor();
ColourRef redColor();
ColourRef greenColor();
ColourRef blueColor();
ColourRef clearColor();

// The archived form: red, green, blue, alpha as big-endian IEEE-754
// single-precision numbers, 16 bytes.
using ColourArchive = std::array<uint8_t, 16>;
ColourArchive archiveColour(const Colour& colour);

// Null for any other length or a component that is not finite.
ColourRef unarchiveColour(std::span<const uint8_t> bytes);

}  // namespace platform
