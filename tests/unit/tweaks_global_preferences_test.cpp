#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "pane/tweaks/global_preferences.h"
#include "tweaks_test_support.h"

namespace vantrel {
namespace {

using platform::PlistDictionary;
using testing::fileText;
using testing::readPlist;
using testing::SaveCounter;
using testing::TemporaryHome;
using testing::writeText;

const double kWidenedDefault = static_cast<double>(1.7f);

class TweaksGlobalPreferences : public ::testing::Test {
 protected:
  std::string path() const { return home_.preferencesFile(".GlobalPreferences.plist"); }

  void writeFile(const PlistDictionary& contents) { ASSERT_EQ(contents.writeFile(path()), std::nullopt); }

  // A file as another program leaves it: the page's keys as given plus one
  // of its own.
  PlistDictionary fileWith(std::optional<std::string> variant, std::optional<double> trackpad,
                           std::optional<double> mouse) {
    PlistDictionary contents;
    contents.setString("AppleLocale", "en_GB");
    if (variant) contents.setString(kScrollBarVariantKey, *variant);
    if (trackpad) contents.setReal(kTrackpadScalingKey, *trackpad);
    if (mouse) contents.setReal(kMouseScalingKey, *mouse);
    return contents;
  }

  struct Loaded {
    std::optional<ScrollBarPlacement> placement;
    float slider;
  };
  Loaded load() {
    loadGlobalPreferences(state_);
    auto placement = loadScrollBarPlacement(state_);
    return {placement, loadPointerSpeed(state_)};
  }

  TemporaryHome home_;
  TweaksState state_;
};

TEST_F(TweaksGlobalPreferences, CompleteFileIsShownAndLeftAlone) {
  writeFile(fileWith("DoubleMax", 0.5, 2.0));
  const std::string before = fileText(path());
  struct stat statBefore {};
  ASSERT_EQ(stat(path().c_str(), &statBefore), 0);
  SaveCounter counter(home_.preferencesFolder(), ".GlobalPreferences.plist");

  Loaded loaded = load();

  EXPECT_EQ(state_.recordsFile, path());
  EXPECT_EQ(loaded.placement, ScrollBarPlacement::DoubleMax);
  EXPECT_EQ(loaded.slider, 2.0f);
  EXPECT_EQ(counter.saves(), 0);
  struct stat statAfter {};
  ASSERT_EQ(stat(path().c_str(), &statAfter), 0);
  EXPECT_EQ(statAfter.st_ino, statBefore.st_ino);
  EXPECT_EQ(fileText(path()), before);
}

TEST_F(TweaksGlobalPreferences, MissingValuesAreStoredAndSavedOneByOne) {
  {
    writeFile(fileWith(std::nullopt, 0.5, 2.0));
    SaveCounter counter(home_.preferencesFolder(), ".GlobalPreferences.plist");
    EXPECT_EQ(load().placement, ScrollBarPlacement::Single);
    EXPECT_EQ(counter.saves(), 1);
    EXPECT_EQ(readPlist(path()).string(kScrollBarVariantKey), "Single");
  }
  {
    writeFile(fileWith("DoubleMin", std::nullopt, std::nullopt));
    SaveCounter counter(home_.preferencesFolder(), ".GlobalPreferences.plist");
    Loaded loaded = load();
    EXPECT_EQ(loaded.placement, ScrollBarPlacement::DoubleMin);
    EXPECT_EQ(loaded.slider, 1.7f);
    EXPECT_EQ(counter.saves(), 2);
    PlistDictionary saved = readPlist(path());
    EXPECT_EQ(saved.real(kTrackpadScalingKey), kWidenedDefault);
    EXPECT_EQ(saved.real(kMouseScalingKey), kWidenedDefault);
    EXPECT_NE(kWidenedDefault, 1.7);
  }
  {
    writeFile(fileWith(std::nullopt, std::nullopt, std::nullopt));
    SaveCounter counter(home_.preferencesFolder(), ".GlobalPreferences.plist");
    load();
    EXPECT_EQ(counter.saves(), 3);
    EXPECT_EQ(readPlist(path()).string("AppleLocale"), "en_GB");
  }
}

TEST_F(TweaksGlobalPreferences, UnrecognisedValuesTurnEveryRadioOffAndStay) {
  PlistDictionary notText = fileWith(std::nullopt, 0.5, 2.0);
  notText.setInteger(kScrollBarVariantKey, 1);
  for (const PlistDictionary& contents : {fileWith("doublemax", 0.5, 2.0), fileWith("Triple", 0.5, 2.0), notText}) {
    writeFile(contents);
    const std::string before = fileText(path());
    SaveCounter counter(home_.preferencesFolder(), ".GlobalPreferences.plist");
    EXPECT_EQ(load().placement, std::nullopt);
    EXPECT_EQ(counter.saves(), 0);
    EXPECT_EQ(fileText(path()), before);
  }
}

TEST_F(TweaksGlobalPreferences, ScalingThatIsNoNumberShowsTheDefaultAndStays) {
  PlistDictionary contents = fileWith("Single", 0.5, std::nullopt);
  contents.setString(kMouseScalingKey, "3");
  writeFile(contents);
  SaveCounter counter(home_.preferencesFolder(), ".GlobalPreferences.plist");
  EXPECT_EQ(load().slider, 1.7f);
  EXPECT_EQ(counter.saves(), 0);
  EXPECT_EQ(readPlist(path()).string(kMouseScalingKey), "3");

  contents.setInteger(kMouseScalingKey, 2);
  writeFile(contents);
  EXPECT_EQ(load().slider, 2.0f);

  contents.setReal(kMouseScalingKey, 1e300);
  writeFile(contents);
  EXPECT_EQ(load().slider, 1.7f);
}

TEST_F(TweaksGlobalPreferences, SliderWritesOneNumberForBothInOneSave) {
  writeFile(fileWith("Single", 0.5, 2.0));
  EXPECT_EQ(load().slider, 2.0f);
  SaveCounter counter(home_.preferencesFolder(), ".GlobalPreferences.plist");

  storePointerSpeed(state_, 1.0f);

  EXPECT_EQ(counter.saves(), 1);
  PlistDictionary saved = readPlist(path());
  EXPECT_EQ(saved.real(kMouseScalingKey), 1.0);
  EXPECT_EQ(saved.real(kTrackpadScalingKey), 1.0);
  EXPECT_EQ(saved.string("AppleLocale"), "en_GB");
}

TEST_F(TweaksGlobalPreferences, RadioStoresItsValueAndKeepsEveryOtherKey) {
  writeFile(fileWith("Single", 0.5, 2.0));
  load();
  SaveCounter counter(home_.preferencesFolder(), ".GlobalPreferences.plist");

  storeScrollBarPlacement(state_, ScrollBarPlacement::DoubleBoth);

  EXPECT_EQ(counter.saves(), 1);
  PlistDictionary saved = readPlist(path());
  EXPECT_EQ(saved.string(kScrollBarVariantKey), "DoubleBoth");
  EXPECT_EQ(saved.string("AppleLocale"), "en_GB");
  EXPECT_EQ(saved.real(kTrackpadScalingKey), 0.5);
  EXPECT_EQ(saved.real(kMouseScalingKey), 2.0);
}

TEST_F(TweaksGlobalPreferences, ChangesOfOtherProgramsAfterTheLoadSurviveEverySave) {
  writeFile(fileWith(std::nullopt, 0.5, 2.0));
  load();  // stores "Single"

  PlistDictionary meanwhile = readPlist(path());
  meanwhile.setString("AppleInterfaceStyle", "Dark");
  meanwhile.setReal(kMouseScalingKey, 3.0);
  meanwhile.remove("AppleLocale");
  writeFile(meanwhile);

  storeScrollBarPlacement(state_, ScrollBarPlacement::DoubleMin);
  PlistDictionary saved = readPlist(path());
  EXPECT_EQ(saved.string(kScrollBarVariantKey), "DoubleMin");
  EXPECT_EQ(saved.string("AppleInterfaceStyle"), "Dark");
  EXPECT_EQ(saved.real(kMouseScalingKey), 3.0);
  EXPECT_FALSE(saved.contains("AppleLocale"));

  storePointerSpeed(state_, 0.25f);
  saved = readPlist(path());
  EXPECT_EQ(saved.string(kScrollBarVariantKey), "DoubleMin");
  EXPECT_EQ(saved.string("AppleInterfaceStyle"), "Dark");
  EXPECT_EQ(saved.real(kMouseScalingKey), 0.25);
}

TEST_F(TweaksGlobalPreferences, NoFileAtLoadMeansNothingIsEverWritten) {
  Loaded loaded = load();
  EXPECT_EQ(loaded.placement, ScrollBarPlacement::Single);
  EXPECT_EQ(loaded.slider, 1.7f);
  storeScrollBarPlacement(state_, ScrollBarPlacement::DoubleMax);
  storePointerSpeed(state_, 1.0f);
  EXPECT_FALSE(std::filesystem::exists(path()));

  writeText(path(), "<plist version=\"1.0\"><array/></plist>");  // not a dictionary
  load();
  storeScrollBarPlacement(state_, ScrollBarPlacement::DoubleMax);
  EXPECT_EQ(fileText(path()), "<plist version=\"1.0\"><array/></plist>");
}

TEST_F(TweaksGlobalPreferences, FileSpoiltAfterTheLoadIsNotOverwritten) {
  writeFile(fileWith("Single", 0.5, 2.0));
  load();
  writeText(path(), "garbage");

  ::testing::internal::CaptureStderr();
  storeScrollBarPlacement(state_, ScrollBarPlacement::DoubleMax);
  const std::string report = ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(fileText(path()), "garbage");
  EXPECT_NE(report.find("not saving"), std::string::npos) << report;
}

TEST_F(TweaksGlobalPreferences, FileRemovedAfterTheLoadIsStartedAgainWithThePagesKeys) {
  writeFile(fileWith("Single", 0.5, 2.0));
  load();
  std::filesystem::remove(path());

  storeScrollBarPlacement(state_, ScrollBarPlacement::DoubleMax);

  PlistDictionary saved = readPlist(path());
  EXPECT_EQ(saved.keys(), std::vector<std::string>{kScrollBarVariantKey});
  EXPECT_EQ(saved.string(kScrollBarVariantKey), "DoubleMax");
}

}  // namespace
}  // namespace vantrel
