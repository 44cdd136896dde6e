#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/foundation/text.h"

using platform::boolValue;
using platform::floatValue;
using platform::intValue;
using platform::stringValue;

TEST(TextReadings, IntValueTakesTheLeadingIntegerAndClamps) {
  EXPECT_EQ(intValue("  42abc"), 42);
  EXPECT_EQ(intValue("-3"), -3);
  EXPECT_EQ(intValue("+7"), 7);
  EXPECT_EQ(intValue("8.9"), 8);
  EXPECT_EQ(intValue("-8.9"), -8);
  EXPECT_EQ(intValue("abc"), 0);
  EXPECT_EQ(intValue(""), 0);
  EXPECT_EQ(intValue("-"), 0);
  EXPECT_EQ(intValue("2147483647"), 2147483647);
  EXPECT_EQ(intValue("2147483648"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(intValue("-2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(intValue("-99999999999999999999999999"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(intValue("99999999999999999999999999"), std::numeric_limits<int32_t>::max());
}

TEST(TextReadings, IntValueOfNumbersTruncatesAndClamps) {
  EXPECT_EQ(intValue(3.99), 3);
  EXPECT_EQ(intValue(-3.99), -3);
  EXPECT_EQ(intValue(std::nan("")), 0);
  EXPECT_EQ(intValue(1e300), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(intValue(-INFINITY), std::numeric_limits<int32_t>::min());
}

TEST(TextReadings, FloatValueTakesTheLeadingDecimalNumberOnly) {
  EXPECT_FLOAT_EQ(floatValue("4352.9"), 4352.9f);
  EXPECT_FLOAT_EQ(floatValue(" -1"), -1.0f);
  EXPECT_FLOAT_EQ(floatValue(".5x"), 0.5f);
  EXPECT_FLOAT_EQ(floatValue("5."), 5.0f);
  EXPECT_FLOAT_EQ(floatValue("1e3"), 1000.0f);
  EXPECT_FLOAT_EQ(floatValue("2e"), 2.0f);
  EXPECT_EQ(floatValue("nan"), 0.0f);
  EXPECT_EQ(floatValue("inf"), 0.0f);
  EXPECT_EQ(floatValue("0x10"), 0.0f);
  EXPECT_EQ(floatValue("."), 0.0f);
  EXPECT_EQ(floatValue("keys"), 0.0f);
  EXPECT_TRUE(std::isinf(floatValue("1e999")));
}

TEST(TextReadings, BoolValueLooksAtTheFirstSignificantCharacter) {
  EXPECT_TRUE(boolValue("YES"));
  EXPECT_TRUE(boolValue("true"));
  EXPECT_TRUE(boolValue(" -0007"));
  EXPECT_FALSE(boolValue("NO"));
  EXPECT_FALSE(boolValue("0"));
  EXPECT_FALSE(boolValue("000"));
  EXPECT_FALSE(boolValue(""));
}

TEST(TextReadings, StringValuesAreThePlatformTexts) {
  EXPECT_EQ(stringValue(5), "5");
  EXPECT_EQ(stringValue(-3), "-3");
  EXPECT_EQ(stringValue(4352.0f), "4352");
  EXPECT_EQ(stringValue(9999999.0f), "9999999");
  EXPECT_EQ(stringValue(16777216.0f), "1.677722e+07");
  EXPECT_EQ(stringValue(0.0f), "0");
}

TEST(TextReadings, TildeExpandsFromHome) {
  const char* saved = std::getenv("HOME");
  std::string previous = saved ? saved : "";
  setenv("HOME", "/home/tester/", 1);
  EXPECT_EQ(platform::expandTilde("~/Library/x.plist"), "/home/tester/Library/x.plist");
  EXPECT_EQ(platform::expandTilde("~"), "/home/tester");
  EXPECT_EQ(platform::expandTilde("~other/x"), "~other/x");
  EXPECT_EQ(platform::expandTilde("/abs/~/x"), "/abs/~/x");
  setenv("HOME", previous.c_str(), 1);
}
