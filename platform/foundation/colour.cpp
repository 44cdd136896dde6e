// SPDX-License-Identifier: MIT
#include "colour.h"

#include <bit>
#include <cmath>

namespace platform {

ColourRef makeColour(float red, float green, float blue, float alpha) {
  return std::make_shared<const Colour>(Colour{red, green, blue, alpha});
}

ColourRef blackColor() { return makeColour(0, 0, 0); }
ColourRef whiteColor() { return makeColour(1, 1, 1); }
ColourRef yellowColor() { return makeColour(1, 1, 0); }
ColourRef redColor() { return makeColour(1, 0, 0); }
ColourRef greenColor() { return makeColour(0, 1, 0); }
ColourRef blueColor() { return makeColour(0, 0, 1); }
ColourRef clearColor() { return makeColour(0, 0, 0, 0); }

ColourArchive archiveColour(const Colour& colour) {
  ColourArchive bytes{};
  const float components[4] = {colour.red, colour.green, colour.blue, colour.alpha};
  for (int i = 0; i < 4; ++i) {
    uint32_t bits = std::bit_cast<uint32_t>(components[i]);
    for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<uint8_t>(bits >> (24 - 8 * b));
  }
  return bytes;
}

ColourRef unarchiveColour(std::span<const uint8_t> bytes) {
  if (bytes.size() != 16) return nullptr;
  float components[4];
  for (int i = 0; i < 4; ++i) {
    uint32_t bits = 0;
    for (int b = 0; b < 4; ++b) bits = (bits << 8) | bytes[i * 4 + b];
    components[i] = std::bit_cast<float>(bits);
    if (!std::isfinite(components[i])) return nullptr;
  }
  return makeColour(components[0], components[1], components[2], components[3]);
}

}  // namespace platform
