#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pane/tweaks/scroll_bar_placement.h"
#include "pane/tweaks/system_generation.h"
#include "platform/foundation/appkit_version.h"

namespace vantrel {
namespace {

TEST(TweaksGeneration, RoundsDownAndSplitsAtEachThreshold) {
  EXPECT_EQ(versionCheck(743.0), 3);
  EXPECT_EQ(versionCheck(742.9), 2);
  EXPECT_EQ(versionCheck(663.0), 2);
  EXPECT_EQ(versionCheck(662.5), 1);
  EXPECT_EQ(versionCheck(620.0), 1);
  EXPECT_EQ(versionCheck(619.9), 0);
  EXPECT_EQ(versionCheck(0.0), 0);
  EXPECT_EQ(versionCheck(-std::numeric_limits<double>::infinity()), 0);
}

TEST(TweaksGeneration, NumberThatComparesWithNothingIsNewest) {
  EXPECT_EQ(versionCheck(std::numeric_limits<double>::quiet_NaN()), 3);
}

TEST(TweaksGeneration, ThisPlatformIsNewest) { EXPECT_EQ(versionCheck(platform::NSAppKitVersionNumber), 3); }

TEST(TweaksScrollBarPlacement, StoredValuesMatchExactly) {
  for (ScrollBarPlacement placement : kScrollBarPlacements)
    EXPECT_EQ(placementFromStoredValue(storedValue(placement)), placement);
  EXPECT_EQ(storedValue(ScrollBarPlacement::Single), "Single");
  EXPECT_EQ(storedValue(ScrollBarPlacement::DoubleMin), "DoubleMin");
  EXPECT_EQ(storedValue(ScrollBarPlacement::DoubleMax), "DoubleMax");
  EXPECT_EQ(storedValue(ScrollBarPlacement::DoubleBoth), "DoubleBoth");
  EXPECT_EQ(placementFromStoredValue("single"), std::nullopt);
  EXPECT_EQ(placementFromStoredValue("DoubleMax "), std::nullopt);
  EXPECT_EQ(placementFromStoredValue(""), std::nullopt);
}

}  // namespace
}  // namespace vantrel
