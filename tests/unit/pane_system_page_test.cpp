// The system tweaks page's widgets wired to the tweaks logic, inside the
// whole load sequence.
#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

#include "pane_test_support.h"
#include "platform/pane_host/float_slider.h"

namespace pane_test {
namespace {

using Buttons = std::vector<QAbstractButton*>;
const char kGlobal[] = ".GlobalPreferences.plist";

class SystemPageTest : public PaneTest {
 protected:
  void writeGlobal(std::initializer_list<std::pair<const char*, const char*>> texts) {
    platform::PlistDictionary global;
    for (auto& [key, text] : texts) global.setString(key, text);
    global.setReal("com.apple.trackpad.scaling", 0.5);
    global.setReal("com.apple.mouse.scaling", 2.0);
    ASSERT_TRUE(global.writeFile(home.preference(kGlobal)));
    home.saves(kGlobal);
  }
  platform::PlistDictionary globalFile() const {
    return platform::PlistDictionary::readFile(home.preference(kGlobal)).value_or(platform::PlistDictionary());
  }
  Buttons checkedRadios() {
    Buttons on;
    for (QAbstractButton* radio : {pane->o_single, pane->o_doublemin, pane->o_doublemax, pane->o_vantrel})
      if (radio->isChecked()) on.push_back(radio);
    return on;
  }
  void writeFinderZoom(const std::string& valueXml) {
    unit::writeText(home.preference("com.apple.finder.plist"),
                    "<plist version=\"1.0\"><dict><key>AnimateWindowZoom</key>" + valueXml + "</dict></plist>");
  }
};

TEST_F(SystemPageTest, TheLoadShowsTheStoredPlacementAndSpeedAndWritesNothing) {
  writeGlobal({{"AppleScrollBarVariant", "DoubleMax"}});
  openPane();
  EXPECT_EQ(checkedRadios(), Buttons{pane->o_doublemax});
  EXPECT_FLOAT_EQ(pane->o_slider->floatValue(), 2.0f);
  EXPECT_EQ(home.saves(kGlobal), 0);
  EXPECT_TRUE(system.desktop.empty()) << "the load changes nothing on the desktop";
  EXPECT_EQ(pane->appID, "com.Halvix.Vantrel");
  EXPECT_TRUE(page().o_prefWidth1->isChecked()) << "the crosshair page is filled last";
}

TEST_F(SystemPageTest, EachControlWritesItsValueAndKeepsTheRest) {
  writeGlobal({{"AppleScrollBarVariant", "single"}, {"OtherProgram", "kept"}});  // no placement: all four off
  openPane();
  EXPECT_EQ(checkedRadios(), Buttons{});
  pane->o_vantrel->click();
  EXPECT_EQ(checkedRadios(), Buttons{pane->o_vantrel});
  EXPECT_EQ(globalFile().string("AppleScrollBarVariant"), "DoubleBoth");
  pane->o_doublemin->click();
  EXPECT_EQ(checkedRadios(), Buttons{pane->o_doublemin});
  EXPECT_EQ(globalFile().string("AppleScrollBarVariant"), "DoubleMin");
  EXPECT_EQ(home.saves(kGlobal), 2);

  pane->o_slider->setValue(100);
  EXPECT_EQ(globalFile().real("com.apple.mouse.scaling"), 1.0);
  EXPECT_EQ(globalFile().real("com.apple.trackpad.scaling"), 1.0);
  EXPECT_EQ(globalFile().string("OtherProgram"), "kept");
  EXPECT_EQ(home.saves(kGlobal), 1);
  EXPECT_EQ(system.desktop, (std::vector<std::string>{"arrows 1111", "arrows 1001", "speed -0.411765"}));
}

TEST_F(SystemPageTest, TheZoomCheckboxRunsTheToolOfItsBundleAndGoesBackWhenItFails) {
  writeFinderZoom("<true/>");
  openPane(home.path() / "elsewhere" / "Vantrel.prefPane");
  EXPECT_TRUE(pane->o_ZoomCheck->isChecked());
  EXPECT_TRUE(system.tasks.empty()) << "a readable value runs nothing";
  pane->o_ZoomCheck->click();
  pane->o_ZoomCheck->click();
  const std::string tool = (home.path() / "elsewhere/Vantrel.prefPane/Contents/Resources/defaults").string();
  const std::vector<std::vector<std::string>> expected = {
      {tool, "write", "com.apple.finder", "AnimateWindowZoom", "-bool", "false"},
      {tool, "write", "com.apple.finder", "AnimateWindowZoom", "-bool", "true"}};
  EXPECT_EQ(system.tasks, expected);

  system.taskExitStatus = 1;
  pane->o_ZoomCheck->click();
  EXPECT_TRUE(pane->o_ZoomCheck->isChecked()) << "nothing was stored";
  EXPECT_NE(child<QLabel>("problemLine")->text().toStdString().find("exit status 1"), std::string::npos);
}

TEST_F(SystemPageTest, AFirstLoadWithAMissingDefaultsToolStillFillsTheCrosshairPage) {
  platform::PlistDictionary global;
  global.setString("AppleLocale", "en_GB");
  ASSERT_TRUE(global.writeFile(home.preference(kGlobal)));
  home.saves(kGlobal);
  writeFinderZoom("<data>AAE=</data>");  // no boolean reading: repaired through the tool
  system.taskFails = true;
  openPane();
  EXPECT_EQ(tweaks.osVersion, 3);
  EXPECT_EQ(checkedRadios(), Buttons{pane->o_single});
  EXPECT_FLOAT_EQ(pane->o_slider->floatValue(), 1.7f);
  EXPECT_EQ(home.saves(kGlobal), 3);
  EXPECT_EQ(globalFile().string("AppleLocale"), "en_GB");
  ASSERT_EQ(system.tasks.size(), 1u);
  EXPECT_EQ(system.tasks[0].back(), "true");
  EXPECT_TRUE(pane->o_ZoomCheck->isChecked());
  EXPECT_TRUE(page().o_prefWidth1->isChecked());
  EXPECT_TRUE(page().o_control->isChecked());
}

TEST_F(SystemPageTest, OlderGenerationsDisableTheZoomCheckbox) {
  appKitVersion = 742.9;
  writeFinderZoom("<array/>");
  openPane();
  EXPECT_EQ(tweaks.osVersion, 2);
  EXPECT_FALSE(pane->o_ZoomCheck->isEnabled());
  EXPECT_TRUE(system.tasks.empty());
  EXPECT_TRUE(page().o_command->isChecked());
}

TEST_F(SystemPageTest, TheRestartButtonQuitsAndRelaunchesTheFileManager) {
  openPane();
  child<QPushButton>("restartFinderButton")->click();
  EXPECT_EQ(system.scripts, std::vector<std::string>{"tell application \"Finder\" to quit"});
  EXPECT_EQ(system.launched, std::vector<std::string>{"/System/Library/CoreServices/Finder.app"});
}

}  // namespace
}  // namespace pane_test
