#include <gtest/gtest.h>

#include "pane/tweaks/global_preferences.h"
#include "test_home.h"

namespace vantrel {
namespace {

using platform::PlistDictionary;
using Placement = ScrollBarPlacement;

const char kFile[] = ".GlobalPreferences.plist";
const double kWidenedDefault = static_cast<double>(1.7f);

class TweaksGlobalPreferences : public ::testing::Test {
 protected:
  std::string path() const { return home.preference(kFile); }
  PlistDictionary saved() const { return PlistDictionary::readFile(path()).value_or(PlistDictionary()); }
  // A file as another program leaves it: the page's keys as given plus one
  // of its own.
  static PlistDictionary fileWith(std::optional<std::string> variant, std::optional<double> trackpad,
                                  std::optional<double> mouse) {
    PlistDictionary contents;
    contents.setString("AppleLocale", "en_GB");
    if (variant) contents.setString(kScrollBarVariantKey, *variant);
    if (trackpad) contents.setReal(kTrackpadScalingKey, *trackpad);
    if (mouse) contents.setReal(kMouseScalingKey, *mouse);
    return contents;
  }
  void writeFile(const PlistDictionary& contents) {
    ASSERT_TRUE(contents.writeFile(path()));
    home.saves(kFile);
  }
  std::pair<std::optional<Placement>, float> load() {
    loadGlobalPreferences(state);
    auto placement = loadScrollBarPlacement(state);
    return {placement, loadPointerSpeed(state)};
  }

  unit::TempHome home;
  TweaksState state;
};

TEST_F(TweaksGlobalPreferences, CompleteFileIsShownAndLeftAlone) {
  writeFile(fileWith("DoubleMax", 0.5, 2.0));
  const std::string before = unit::readText(path());
  EXPECT_EQ(load(), std::make_pair(std::optional(Placement::DoubleMax), 2.0f));
  EXPECT_EQ(state.recordsFile, path());
  EXPECT_EQ(home.saves(kFile), 0);
  EXPECT_EQ(unit::readText(path()), before);
}

TEST_F(TweaksGlobalPreferences, MissingValuesAreStoredAndSavedOneByOne) {
  const struct {
    std::optional<std::string> variant;
    std::optional<double> trackpad, mouse;
    Placement shown;
    float slider;
    int saves;
  } cases[] = {{std::nullopt, 0.5, 2.0, Placement::Single, 2.0f, 1},
               {"DoubleMin", std::nullopt, std::nullopt, Placement::DoubleMin, 1.7f, 2},
               {std::nullopt, std::nullopt, std::nullopt, Placement::Single, 1.7f, 3}};
  for (const auto& c : cases) {
    writeFile(fileWith(c.variant, c.trackpad, c.mouse));
    EXPECT_EQ(load(), std::make_pair(std::optional(c.shown), c.slider));
    EXPECT_EQ(home.saves(kFile), c.saves);
    PlistDictionary file = saved();
    EXPECT_EQ(file.string(kScrollBarVariantKey), storedValue(c.shown));
    EXPECT_EQ(file.real(kTrackpadScalingKey), c.trackpad.value_or(kWidenedDefault));
    EXPECT_EQ(file.real(kMouseScalingKey), c.mouse.value_or(kWidenedDefault));
    EXPECT_EQ(file.string("AppleLocale"), "en_GB");
  }
  EXPECT_NE(kWidenedDefault, 1.7);
}

TEST_F(TweaksGlobalPreferences, UnrecognisedValuesTurnEveryRadioOffAndStay) {
  PlistDictionary notText = fileWith(std::nullopt, 0.5, 2.0);
  notText.setInteger(kScrollBarVariantKey, 1);
  for (const PlistDictionary& contents : {fileWith("doublemax", 0.5, 2.0), fileWith("Triple", 0.5, 2.0), notText}) {
    writeFile(contents);
    const std::string before = unit::readText(path());
    EXPECT_EQ(load().first, std::nullopt);
    EXPECT_EQ(home.saves(kFile), 0);
    EXPECT_EQ(unit::readText(path()), before);
  }
}

TEST_F(TweaksGlobalPreferences, ScalingThatIsNoNumberShowsTheDefaultAndStays) {
  PlistDictionary contents = fileWith("Single", 0.5, std::nullopt);
  contents.setString(kMouseScalingKey, "3");
  writeFile(contents);
  EXPECT_EQ(load().second, 1.7f);
  EXPECT_EQ(home.saves(kFile), 0);
  EXPECT_EQ(saved().string(kMouseScalingKey), "3");

  contents.setInteger(kMouseScalingKey, 2);
  writeFile(contents);
  EXPECT_EQ(load().second, 2.0f);
  contents.setReal(kMouseScalingKey, 1e300);
  writeFile(contents);
  EXPECT_EQ(load().second, 1.7f);
}

TEST_F(TweaksGlobalPreferences, ChangesOfOtherProgramsAfterTheLoadSurviveEverySave) {
  writeFile(fileWith(std::nullopt, 0.5, 2.0));
  load();  // stores "Single"
  PlistDictionary meanwhile = saved();
  meanwhile.setString("AppleInterfaceStyle", "Dark");
  meanwhile.setReal(kMouseScalingKey, 3.0);
  meanwhile.remove("AppleLocale");
  writeFile(meanwhile);

  ASSERT_TRUE(storeScrollBarPlacement(state, Placement::DoubleMin));
  EXPECT_EQ(home.saves(kFile), 1);
  PlistDictionary file = saved();
  EXPECT_EQ(file.string(kScrollBarVariantKey), "DoubleMin");
  EXPECT_EQ(file.string("AppleInterfaceStyle"), "Dark");
  EXPECT_EQ(file.real(kMouseScalingKey), 3.0);
  EXPECT_FALSE(file.contains("AppleLocale"));

  ASSERT_TRUE(storePointerSpeed(state, 0.25f));
  EXPECT_EQ(home.saves(kFile), 1);
  file = saved();
  EXPECT_EQ(file.string(kScrollBarVariantKey), "DoubleMin");
  EXPECT_EQ(file.string("AppleInterfaceStyle"), "Dark");
  EXPECT_EQ(file.real(kMouseScalingKey), 0.25);
  EXPECT_EQ(file.real(kTrackpadScalingKey), 0.25);
}

TEST_F(TweaksGlobalPreferences, NoFileAtLoadMeansNothingIsEverWritten) {
  EXPECT_EQ(load(), std::make_pair(std::optional(Placement::Single), 1.7f));
  EXPECT_TRUE(storeScrollBarPlacement(state, Placement::DoubleMax));
  EXPECT_TRUE(storePointerSpeed(state, 1.0f));
  EXPECT_FALSE(std::filesystem::exists(path()));

  unit::writeText(path(), "<plist version=\"1.0\"><array/></plist>");  // not a dictionary
  load();
  EXPECT_TRUE(storeScrollBarPlacement(state, Placement::DoubleMax));
  EXPECT_EQ(unit::readText(path()), "<plist version=\"1.0\"><array/></plist>");
}

TEST_F(TweaksGlobalPreferences, FileSpoiltAfterTheLoadIsNotOverwritten) {
  writeFile(fileWith("Single", 0.5, 2.0));
  load();
  std::string nested = "<plist><dict><key>k</key>";
  for (int i = 0; i < 30000; ++i) nested += "<array>";
  const std::function<void()> spoil[] = {
      [&] { unit::writeText(path(), "garbage"); },
      [&] { unit::writeText(path(), nested); },
      [&] { chmod(path().c_str(), 0); },
      [&] { std::filesystem::remove(path()), mkfifo(path().c_str(), 0600); },
      [&] { std::filesystem::remove(path()), std::filesystem::create_symlink("/dev/zero", path()); },
  };
  for (size_t i = 0; i < std::size(spoil); ++i) {
    std::filesystem::remove(path());
    writeFile(fileWith("Single", 0.5, 2.0));
    spoil[i]();
    const auto before = std::filesystem::symlink_status(path());
    const std::string content = before.type() == std::filesystem::file_type::regular ? unit::readText(path()) : "";
    auto saved = storeScrollBarPlacement(state, Placement::DoubleMax);
    if (i == 2 && geteuid() == 0) {
      EXPECT_TRUE(saved) << "the owner of every file can still read it";
      continue;
    }
    ASSERT_FALSE(saved) << i;
    EXPECT_NE(saved.error().find("not overwritten"), std::string::npos) << saved.error();
    EXPECT_EQ(std::filesystem::symlink_status(path()).type(), before.type()) << i;
    if (!content.empty()) {
      EXPECT_EQ(unit::readText(path()), content) << i;
    }
  }
}

TEST_F(TweaksGlobalPreferences, FileRemovedAfterTheLoadIsStartedAgainWithThePagesKeys) {
  writeFile(fileWith("Single", 0.5, 2.0));
  load();
  std::filesystem::remove(path());
  ASSERT_TRUE(storeScrollBarPlacement(state, Placement::DoubleMax));
  EXPECT_EQ(saved().keys(), std::vector<std::string>{kScrollBarVariantKey});
  EXPECT_EQ(saved().string(kScrollBarVariantKey), "DoubleMax");
}

}  // namespace
}  // namespace vantrel
