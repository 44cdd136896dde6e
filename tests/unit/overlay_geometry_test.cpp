// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <limits>

#include "overlay/crosshair_geometry.h"

using platform::Point;
using platform::Rect;
using retikonx::crossLineFrames;
using retikonx::pointWindowFrame;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(ArmFrames, AreWhereTheArithmeticPutsThem) {
  // The pointer, the screen's size, width and gap, then the left, right, lower and upper arms.
  const struct { const char* name; int16_t h, v; float sw, sh; int32_t width, distance; std::array<Rect, 4> arms; }
  cases[] = {
      {"ThinNearTopLeft", 50, 10, 1440, 900, 1, 0, {{{-2829, 889, 2878, 1}, {51, 889, 2878, 1},
       {49, -909, 1, 1798}, {49, 891, 1, 1798}}}},
      // Halving: a width of 1 keeps a half of 1, 2 halves to 1; 0 gives arms of no thickness.
      {"WidthTwo", 100, 100, 1000, 800, 2, 0, {{{-1899, 699, 1998, 2}, {101, 699, 1998, 2},
       {99, -899, 2, 1598}, {99, 701, 2, 1598}}}},
      {"WidthZero", 100, 100, 1000, 800, 0, 0, {{{-1898, 700, 1998, 0}, {100, 700, 1998, 0},
       {100, -898, 0, 1598}, {100, 700, 0, 1598}}}},
      {"PointerOffScreen", -20, -30, 1440, 900, 5, 0, {{{-2900, 928, 2878, 5}, {-18, 928, 2878, 5},
       {-22, -870, 5, 1798}, {-22, 932, 5, 1798}}}},
      {"NegativeWidthAndGap", 700, 300, 1440, 900, -3, -4, {{{-2173, 601, 2878, -3},
       {695, 601, 2878, -3}, {701, -1193, -3, 1798}, {701, 595, -3, 1798}}}}};
  for (const auto& c : cases)
    EXPECT_EQ(crossLineFrames({.v = c.v, .h = c.h}, {c.sw, c.sh}, {c.width, c.distance}), c.arms) << c.name;
}

// Widths and gaps from a hand-edited file: the integer sums saturate rather
// than wrap, so the right arm never jumps to the far left.
TEST(ArmFramesAtTheLimits, SaturateInsteadOfWrapping) {
  const auto farGap = crossLineFrames(Point{.v = 300, .h = 700}, {1440, 900}, {5, kMax});
  EXPECT_EQ(farGap[1].x, static_cast<float>(kMax));
  EXPECT_LT(farGap[0].x, -2e9f);
  EXPECT_GT(farGap[3].y, 2e9f);

  const auto wide = crossLineFrames(Point{.v = 32767, .h = -32768}, {1440, 900}, {kMax, kMax});
  EXPECT_EQ(wide[1].x, static_cast<float>(kMax));
  EXPECT_EQ(wide[2].x, static_cast<float>(-32768 - kMax / 2));
  EXPECT_EQ(wide[0].height, static_cast<float>(kMax));

  const auto negative = crossLineFrames(Point{.v = -32768, .h = 32767}, {1440, 900}, {kMin, kMin});
  EXPECT_EQ(negative[1].x, static_cast<float>(kMin));
  EXPECT_EQ(negative[2].x, static_cast<float>(32767 + int64_t{1073741824}));
  EXPECT_EQ(negative[0].height, static_cast<float>(kMin));
}

TEST(ReadoutFrame, StandsBesideThePointer) {
  const struct { const char* name; int16_t h, v; Rect frame; } cases[] = {
      {"UpAndLeft", 700, 300, {590, 620, 90, 19}}, {"NearTopLeftCorner", 50, 10, {70, 851, 90, 19}},
      {"RightAndAboveAtTheBoundary", 110, 39, {130, 881, 90, 19}},
      {"LeftAndBelowPastTheBoundary", 111, 38, {1, 823, 90, 19}},
      {"NegativePointer", -5, -7, {15, 868, 90, 19}}, {"FarCorner", 32767, 32767, {32657, -31847, 90, 19}}};
  for (const auto& c : cases) EXPECT_EQ(pointWindowFrame(c.h, c.v, 900), c.frame) << c.name;
}

}  // namespace
