#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/foundation/text.h"
#include "test_home.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();

TEST(TextReadings, IntValueTakesTheLeadingIntegerTruncatesAndClamps) {
  const std::pair<const char*, int32_t> texts[] = {
      {"  42abc", 42}, {"-3", -3}, {"+7", 7}, {"8.9", 8}, {"-8.9", -8}, {"abc", 0}, {"", 0}, {"-", 0},
      {"2147483647", kMax}, {"2147483648", kMax}, {"-2147483648", kMin}, {"-99999999999999999999999999", kMin},
      {"99999999999999999999999999", kMax}};
  for (auto [text, value] : texts) EXPECT_EQ(platform::intValue(text), value) << text;
  const std::pair<double, int32_t> numbers[] = {{3.99, 3}, {-3.99, -3}, {NAN, 0}, {1e300, kMax}, {-INFINITY, kMin}};
  for (auto [number, value] : numbers) EXPECT_EQ(platform::intValue(number), value) << number;
}

TEST(TextReadings, FloatValueTakesTheLeadingDecimalNumberOnly) {
  const std::pair<const char*, float> texts[] = {{"4352.9", 4352.9f}, {" -1", -1}, {".5x", 0.5f}, {"5.", 5},
                                                 {"1e3", 1000},       {"2e", 2},   {"nan", 0},    {"inf", 0},
                                                 {"0x10", 0},         {".", 0},    {"keys", 0}};
  for (auto [text, value] : texts) EXPECT_FLOAT_EQ(platform::floatValue(text), value) << text;
  EXPECT_TRUE(std::isinf(platform::floatValue("1e999")));
}

TEST(TextReadings, BoolValueLooksAtTheFirstSignificantCharacter) {
  for (const char* yes : {"YES", "true", " -0007"}) EXPECT_TRUE(platform::boolValue(yes)) << yes;
  for (const char* no : {"NO", "0", "000", ""}) EXPECT_FALSE(platform::boolValue(no)) << no;
}

TEST(TextReadings, StringValuesAreThePlatformTexts) {
  EXPECT_EQ(platform::stringValue(-3), "-3");
  const std::pair<float, const char*> numbers[] = {
      {4352.0f, "4352"}, {9999999.0f, "9999999"}, {16777216.0f, "1.677722e+07"}, {0.0f, "0"}};
  for (auto [number, text] : numbers) EXPECT_EQ(platform::stringValue(number), text);
}

TEST(TextReadings, TildeExpandsFromHome) {
  unit::ScopedEnvironment home("HOME", "/home/tester/");
  EXPECT_EQ(platform::expandTilde("~/Library/x.plist"), "/home/tester/Library/x.plist");
  EXPECT_EQ(platform::expandTilde("~"), "/home/tester");
  for (const char* unchanged : {"~other/x", "/abs/~/x"}) EXPECT_EQ(platform::expandTilde(unchanged), unchanged);
}

}  // namespace
