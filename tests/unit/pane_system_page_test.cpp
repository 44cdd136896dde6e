// The system tweaks page's widgets wired to the tweaks logic, inside the
// whole load sequence.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "pane/tweaks/global_preferences.h"
#include "pane_test_support.h"
#include "platform/pane_host/float_slider.h"

namespace pane_test {
namespace {

class SystemPageTest : public PaneTest {
 protected:
  std::string globalPath() const { return (home.preferences() / ".GlobalPreferences.plist").string(); }
  std::string finderPath() const { return (home.preferences() / "com.apple.finder.plist").string(); }
  platform::PlistDictionary globalFile() const {
    return platform::PlistDictionary::readFile(globalPath()).value_or(platform::PlistDictionary());
  }
  std::vector<QAbstractButton*> radios() {
    return {pane->o_single, pane->o_doublemin, pane->o_doublemax, pane->o_vantrel};
  }
};

TEST_F(SystemPageTest, TheLoadShowsTheStoredPlacementAndSpeedAndWritesNothing) {
  platform::PlistDictionary global;
  global.setString("AppleScrollBarVariant", "DoubleMax");
  global.setReal("com.apple.trackpad.scaling", 0.5);
  global.setReal("com.apple.mouse.scaling", 2.0);
  global.writeFile(globalPath());
  SaveCounter globalSaves(home.preferences().string());

  openPane();
  for (QAbstractButton* radio : radios()) EXPECT_EQ(radio->isChecked(), radio == pane->o_doublemax);
  EXPECT_FLOAT_EQ(pane->o_slider->floatValue(), 2.0f);
  EXPECT_EQ(globalSaves.saves(".GlobalPreferences.plist"), 0);
  EXPECT_EQ(pane->appID, "com.Halvix.Vantrel");
  EXPECT_TRUE(page().o_prefWidth1->isChecked()) << "the crosshair page is filled last";
}

TEST_F(SystemPageTest, ARadioButtonWritesItsPlacementAndSwitchesTheOthersOff) {
  platform::PlistDictionary global;
  global.setString("AppleScrollBarVariant", "single");  // no placement: all four off
  global.setString("OtherProgram", "kept");
  global.writeFile(globalPath());
  openPane();
  for (QAbstractButton* radio : radios()) EXPECT_FALSE(radio->isChecked());

  pane->o_vantrel->click();
  for (QAbstractButton* radio : radios()) EXPECT_EQ(radio->isChecked(), radio == pane->o_vantrel);
  EXPECT_EQ(globalFile().string("AppleScrollBarVariant"), "DoubleBoth");
  pane->o_doublemin->click();
  for (QAbstractButton* radio : radios()) EXPECT_EQ(radio->isChecked(), radio == pane->o_doublemin);
  EXPECT_EQ(globalFile().string("AppleScrollBarVariant"), "DoubleMin");
  EXPECT_EQ(globalFile().string("OtherProgram"), "kept");
}

TEST_F(SystemPageTest, TheSliderWritesMouseAndTrackpadSpeedTogether) {
  platform::PlistDictionary global;
  global.writeFile(globalPath());
  openPane();
  EXPECT_FLOAT_EQ(pane->o_slider->floatValue(), 1.7f);
  SaveCounter globalSaves(home.preferences().string());
  pane->o_slider->setValue(100);
  auto file = globalFile();
  EXPECT_EQ(file.real("com.apple.mouse.scaling"), 1.0);
  EXPECT_EQ(file.real("com.apple.trackpad.scaling"), 1.0);
  EXPECT_EQ(globalSaves.saves(".GlobalPreferences.plist"), 1);
}

TEST_F(SystemPageTest, TheZoomCheckboxRunsTheDefaultsTool) {
  platform::PlistDictionary finder;
  finder.setBoolean("AnimateWindowZoom", true);
  finder.writeFile(finderPath());
  openPane();
  EXPECT_TRUE(pane->o_ZoomCheck->isChecked());
  EXPECT_TRUE(tasks.runs.empty()) << "a readable value runs nothing";

  pane->o_ZoomCheck->click();
  pane->o_ZoomCheck->click();
  const std::vector<std::vector<std::string>> expected = {
      {"/usr/bin/defaults", "write", "com.apple.finder", "AnimateWindowZoom", "-bool", "false"},
      {"/usr/bin/defaults", "write", "com.apple.finder", "AnimateWindowZoom", "-bool", "true"}};
  EXPECT_EQ(tasks.runs, expected);
}

TEST_F(SystemPageTest, AMissingDefaultsToolStillFillsTheCrosshairPage) {
  platform::PlistDictionary finder;
  const uint8_t bytes[] = {1, 2, 3};
  finder.setData("AnimateWindowZoom", bytes);  // no boolean reading: repaired through the tool
  finder.writeFile(finderPath());
  tasks.fails = true;
  openPane();
  ASSERT_EQ(tasks.runs.size(), 1u);
  EXPECT_EQ(tasks.runs[0].back(), "true");
  EXPECT_TRUE(page().o_prefWidth1->isChecked());
  EXPECT_TRUE(page().o_control->isChecked());
}

TEST_F(SystemPageTest, OlderGenerationsDisableTheZoomCheckbox) {
  appKitVersion = 742.9;
  openPane();
  EXPECT_FALSE(pane->o_ZoomCheck->isEnabled());
  EXPECT_TRUE(page().o_command->isChecked());
}

TEST_F(SystemPageTest, TheRestartButtonQuitsAndRelaunchesTheFileManager) {
  openPane();
  child<QPushButton>("restartFinderButton")->click();
  ASSERT_EQ(scripts.sources.size(), 1u);
  EXPECT_EQ(scripts.sources[0], "tell application \"Finder\" to quit");
  EXPECT_EQ(workspace.launched, std::vector<std::string>{"/System/Library/CoreServices/Finder.app"});
}

}  // namespace
}  // namespace pane_test
