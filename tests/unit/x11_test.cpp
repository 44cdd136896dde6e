// SPDX-License-Identifier: MIT
// The sums between the overlay's coordinates and the X server's, and the
// readout's lettering drawn off screen.
#include <cairo.h>
#include <gtest/gtest.h>
#include <xcb/xproto.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "platform/x11/stroke_glyphs.h"
#include "platform/x11/x11_conversion.h"

using platform::x11::Box;
using platform::x11::boxFromFrame;
using platform::x11::intersection;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(Modifiers, MapIntoTheSettingsLayout) {
  // Super is command, Alt option; Num Lock (Mod2), Mod3, Mod5 and the button
  // bits have no place in the mask.
  const std::pair<uint16_t, uint32_t> cases[] = {
      {0, 0},          {XCB_MOD_MASK_4, 0x0100},       {XCB_MOD_MASK_SHIFT, 0x0200},
      {XCB_MOD_MASK_LOCK, 0x0400}, {XCB_MOD_MASK_1, 0x0800}, {XCB_MOD_MASK_CONTROL, 0x1000},
      {XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_4, 0x1100},
      {XCB_MOD_MASK_2 | XCB_MOD_MASK_3 | XCB_MOD_MASK_5 | XCB_BUTTON_MASK_1, 0}, {0xFFFF, 0x1F00}};
  for (auto [state, mask] : cases) EXPECT_EQ(platform::x11::modifierMaskFromState(state), mask) << state;
}

TEST(FrameToRoot, TurnsBottomLeftFramesIntoTopLeftBoxesTheProtocolCanCarry) {
  const Box screen{0, 0, 1440, 900};
  EXPECT_EQ(boxFromFrame({10, 0, 20, 30}, Box{1920, 100, 1440, 900}), (Box{1930, 970, 20, 30}))
      << "a primary screen to the right of another one";
  EXPECT_TRUE(boxFromFrame({10, 10, 0, 5}, screen).empty());
  EXPECT_TRUE(boxFromFrame({10, 10, 5, -3}, screen).empty());

  // Far-off frames are cut to 16-bit coordinates.
  const Box area = platform::x11::representableArea(screen);
  EXPECT_TRUE(area.x >= -32768 && area.x + area.width <= 32767 && area.height <= 32767) << area.x << " " << area.width;
  EXPECT_EQ(intersection(area, screen), screen);
  const float huge = static_cast<float>(kMax);
  EXPECT_EQ(intersection(boxFromFrame({-huge, 400, 2 * huge, 5}, screen), area), (Box{area.x, 495, area.width, 5}));
  EXPECT_TRUE(intersection(boxFromFrame({huge, 0, 100, 100}, screen), area).empty());

  EXPECT_EQ(platform::x11::inflated(Box{10, 20, 30, 40}, 5), (Box{5, 15, 40, 50}));
  const Box grown = platform::x11::inflated(Box{std::numeric_limits<int32_t>::min() + 1, 0, kMax, 10}, 10);
  EXPECT_EQ(grown.x, std::numeric_limits<int32_t>::min()) << "inflating saturates";
  EXPECT_FALSE(grown.empty());
}

TEST(PointerFromRoot, IsRelativeToThePrimaryScreen) {
  EXPECT_EQ(platform::x11::pointerFromRoot(100, 50, Box{1920, 100, 1440, 900}), (platform::Point{-50, -1820}));
}

// Each character of the readout alone, smoothed and not: it paints within
// its width and height (a pixel of smoothing aside), and no two look alike.
TEST(ReadoutGlyphs, EachPaintsWithinItsPlaceAndNoTwoLookAlike) {
  using platform::x11::kGlyphHeight;
  EXPECT_LE(platform::x11::strokeTextWidth("-32768"), 41) << "the widest coordinate fits its field";
  constexpr int kSize = 16, kAt = 4;  // room around the glyph for a stroke that leaves its place
  for (cairo_antialias_t antialias : {CAIRO_ANTIALIAS_NONE, CAIRO_ANTIALIAS_DEFAULT}) {
    const std::vector<std::string> texts = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "-", ","};
    std::vector<std::vector<uint32_t>> images;
    for (const std::string& text : texts) {
      cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
      cairo_t* cairo = cairo_create(surface);
      cairo_set_antialias(cairo, antialias);
      cairo_set_source_rgb(cairo, 1, 0, 0);
      platform::x11::strokeText(cairo, text, kAt, kAt);
      cairo_destroy(cairo);
      cairo_surface_flush(surface);
      auto& image = images.emplace_back();
      int outside = 0;
      for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
          image.push_back(reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface) +
                                                            y * cairo_image_surface_get_stride(surface))[x]);
          outside += image.back() != 0 && (x < kAt - 1 || x > kAt + platform::x11::strokeTextWidth(text) + 1 ||
                                           y < kAt - 1 || y > kAt + kGlyphHeight + 2);
        }
      }
      cairo_surface_destroy(surface);
      EXPECT_GT(image.size() - std::count(image.begin(), image.end(), 0u), 3u) << text;
      EXPECT_EQ(outside, 0) << text;
    }
    for (size_t i = 0; i < images.size(); ++i)
      for (size_t j = i + 1; j < images.size(); ++j) EXPECT_NE(images[i], images[j]) << texts[i] << " " << texts[j];
  }
}

}  // namespace
