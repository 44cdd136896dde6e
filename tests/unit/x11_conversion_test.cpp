#include <gtest/gtest.h>
#include <xcb/xproto.h>

#include <limits>

#include "platform/x11/x11_conversion.h"

using platform::x11::Box;

namespace {

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

TEST(FrameToRoot, TurnsBottomLeftFramesIntoTopLeftBoxes) {
  const Box screen{0, 0, 1440, 900};
  // The left arm of a pointer at (700, 300), 5 thick.
  EXPECT_EQ(platform::x11::boxFromFrame({-2190, 598, 2878, 5}, screen), (Box{-2190, 297, 2878, 5}));
  EXPECT_EQ(platform::x11::boxFromFrame({590, 620, 90, 19}, screen), (Box{590, 261, 90, 19}));
  // A primary screen to the right of another one.
  EXPECT_EQ(platform::x11::boxFromFrame({10, 0, 20, 30}, Box{1920, 100, 1440, 900}), (Box{1930, 970, 20, 30}));
  EXPECT_TRUE(platform::x11::boxFromFrame({10, 10, 0, 5}, screen).empty());
  EXPECT_TRUE(platform::x11::boxFromFrame({10, 10, 5, -3}, screen).empty());
}

TEST(FrameToRoot, FarOffFramesAreCutToWhatTheProtocolCanCarry) {
  const Box root{0, 0, 1440, 900};
  const Box area = platform::x11::representableArea(root);
  EXPECT_LE(area.width, 32767);
  EXPECT_LE(area.height, 32767);
  EXPECT_GE(area.x, -32768);
  EXPECT_LE(area.x + area.width, 32767);
  EXPECT_EQ(platform::x11::intersection(area, root), root);

  const float huge = static_cast<float>(std::numeric_limits<int32_t>::max());
  const Box cut = platform::x11::intersection(platform::x11::boxFromFrame({-huge, 400, 2 * huge, 5}, root), area);
  EXPECT_EQ(cut.x, area.x);
  EXPECT_EQ(cut.width, area.width);
  EXPECT_EQ(cut.y, 495);
  EXPECT_TRUE(platform::x11::intersection(platform::x11::boxFromFrame({huge, 0, 100, 100}, root), area).empty());
}

TEST(FrameToRoot, InflatingSaturates) {
  EXPECT_EQ(platform::x11::inflated(Box{10, 20, 30, 40}, 5), (Box{5, 15, 40, 50}));
  const Box edge{std::numeric_limits<int32_t>::min() + 1, 0, std::numeric_limits<int32_t>::max(), 10};
  const Box grown = platform::x11::inflated(edge, 10);
  EXPECT_EQ(grown.x, std::numeric_limits<int32_t>::min());
  EXPECT_FALSE(grown.empty());
}

TEST(PointerFromRoot, IsRelativeToThePrimaryScreen) {
  EXPECT_EQ(platform::x11::pointerFromRoot(700, 300, Box{0, 0, 1440, 900}), (platform::Point{300, 700}));
  EXPECT_EQ(platform::x11::pointerFromRoot(100, 50, Box{1920, 100, 1440, 900}), (platform::Point{-50, -1820}));
}

}  // namespace
