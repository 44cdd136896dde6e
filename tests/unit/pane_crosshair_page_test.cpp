// The crosshair page with its real widgets: filling, every action, the
// width clamp, tags outside the tables, enabling, and the colour panel.
#include <QAbstractSlider>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "pane/overlay_scripts.h"
#include "pane_test_support.h"
#include "platform/foundation/atomic_file.h"
#include "platform/foundation/colour.h"
#include "platform/pane_host/color_well.h"
#include "platform/pane_host/colour_panel.h"
#include "platform/process/process_workspace.h"

namespace pane_test {
namespace {

using vantrel::RetikonControl;

std::vector<QWidget*> settingControls(RetikonControl& page) {
  return {page.o_capslock, page.o_command,     page.o_control,    page.o_option,   page.o_shift,    page.o_prefWidth0,
          page.o_prefWidth1, page.o_prefWidth2, page.o_dispAllways, page.o_dispHotKey, page.o_locate, page.o_shadow,
          page.o_colorWell, page.o_widthNum,   page.o_widthBar,   page.o_distBar};
}

// The setting controls that are buttons and checked, by name.
std::string checkedNames(RetikonControl& page) {
  std::string names;
  for (QWidget* control : settingControls(page))
    if (auto* button = qobject_cast<QAbstractButton*>(control); button && button->isChecked())
      names += button->objectName().toStdString() + " ";
  return names;
}

int enabledCount(RetikonControl& page) {
  auto controls = settingControls(page);
  return static_cast<int>(std::count_if(controls.begin(), controls.end(), [](QWidget* w) { return w->isEnabled(); }));
}

TEST_F(PaneTest, FillingFromNoFileShowsTheDefaultsAndWritesNothing) {
  openPane();
  RetikonControl& p = page();
  EXPECT_EQ(*p.o_colorWell->color(), *platform::greenColor());
  EXPECT_EQ(platform::colourFromQColor(platform::sharedColorPanel()->currentColor())->green, 1.0f);
  EXPECT_TRUE(platform::sharedColorPanel()->testOption(QColorDialog::ShowAlphaChannel));
  EXPECT_EQ(checkedNames(p), "o_command o_control o_prefWidth1 o_dispHotKey ");
  EXPECT_FALSE(p.o_retikon->isChecked());
  EXPECT_EQ(p.o_widthBar->value(), 5);
  EXPECT_EQ(p.o_widthNum->text(), "5");
  EXPECT_EQ(p.o_distBar->value(), 0);
  EXPECT_EQ(enabledCount(p), 0);
  EXPECT_TRUE(p.o_retikon->isEnabled());
  EXPECT_TRUE(child<QPushButton>("linkButton")->isEnabled());
  EXPECT_FALSE(std::filesystem::exists(settingsPath()));
  EXPECT_EQ(saves(), 0);
}

TEST_F(PaneTest, FillingFromStoredValuesShowsThemAsStoredAndWritesNothing) {
  platform::PlistDictionary stored;
  const std::pair<const char*, const char*> texts[] = {{"WinWidth", "7"}, {"keys", "0"},      {"DispKind", "2"},
                                                       {"retikon", "2"},  {"distance", "12"}, {"Locate", "1"},
                                                       {"shadow", "1"}};
  for (auto& [key, text] : texts) stored.setString(key, text);
  stored.setData("WinColor2", platform::archiveColour({1, 0, 0, 0.5f}));
  writeSettings(stored);
  const auto before = platform::readWholeFile(settingsPath());

  openPane();
  RetikonControl& p = page();
  // Mask 0 reads as control and command, any display kind but 0 as always.
  EXPECT_EQ(checkedNames(p), "o_command o_control o_prefWidth2 o_dispAllways o_locate o_shadow ");
  EXPECT_FALSE(p.o_retikon->isChecked()) << "only exactly 1 is on";
  EXPECT_EQ(enabledCount(p), 0);
  EXPECT_EQ(p.o_widthBar->value(), 7);
  EXPECT_EQ(p.o_widthNum->text(), "7");
  EXPECT_EQ(p.o_distBar->value(), 12);
  EXPECT_EQ(*p.o_colorWell->color(), (platform::Colour{1, 0, 0, 0.5f}));
  EXPECT_EQ(record.s_key, settings::kDefaultPageMask);
  EXPECT_EQ(record.s_Disp, 2);
  EXPECT_EQ(platform::readWholeFile(settingsPath()), before);
  EXPECT_EQ(saves(), 0);
}

TEST_F(PaneTest, EachActionChangesItsVariableAndSavesTheWholeRecord) {
  platform::PlistDictionary stored;
  stored.setString("retikon", "1");
  stored.setString("WinColor", "red");
  stored.setString("ByHand", "kept");
  writeSettings(stored);
  openPane();
  RetikonControl& p = page();
  ASSERT_EQ(enabledCount(p), 16);

  p.o_widthBar->setValue(37);
  EXPECT_EQ(settingsFile().string("WinWidth"), "37");
  EXPECT_EQ(p.o_widthNum->text(), "37");
  EXPECT_EQ(saves(), 1);
  p.o_distBar->setValue(20);
  EXPECT_EQ(settingsFile().string("distance"), "20");
  EXPECT_EQ(saves(), 1);

  // Control off leaves command alone; the last mask, 0, is saved as 0.
  const struct {
    QAbstractButton* button;
    const char *key, *text;
  } clicks[] = {{p.o_prefWidth2, "WinWidth", "10"}, {p.o_prefWidth0, "WinWidth", "1"}, {p.o_locate, "Locate", "1"},
                {p.o_shadow, "shadow", "1"},        {p.o_shadow, "shadow", "0"},      {p.o_control, "keys", "256"},
                {p.o_shift, "keys", "768"},         {p.o_option, "keys", "2816"},     {p.o_capslock, "keys", "3840"},
                {p.o_command, "keys", "3584"},      {p.o_shift, "keys", "3072"},      {p.o_option, "keys", "1024"},
                {p.o_capslock, "keys", "0"},        {p.o_dispAllways, "DispKind", "1"}, {p.o_dispHotKey, "DispKind", "0"}};
  for (const auto& click : clicks) {
    click.button->click();
    EXPECT_EQ(settingsFile().string(click.key), click.text) << click.button->objectName().toStdString();
    EXPECT_EQ(saves(), 1) << click.button->objectName().toStdString();
  }
  EXPECT_EQ(p.o_widthBar->value(), 1) << "the slider and the field show the preset in force";
  EXPECT_EQ(p.o_widthNum->text(), "1");
  auto file = settingsFile();
  EXPECT_EQ(file.string("WinColor"), "red");
  EXPECT_EQ(file.string("ByHand"), "kept");
  EXPECT_TRUE(file.data("WinColor2").has_value());
  EXPECT_EQ(file.string("retikon"), "1");
}

TEST_F(PaneTest, TheWidthEntryIsClampedAndMirroredIntoBothWidthControls) {
  record.s_Retikon = 1;
  openPane();
  RetikonControl& p = page();
  p.o_prefWidth1->click();
  const std::pair<const char*, int> cases[] = {{"0", 1},     {"-4", 1},    {"abc", 1},
                                               {"150", 100}, {"100", 100}, {" 42px", 42}};
  for (const auto& [entered, width] : cases) {
    p.o_widthNum->setText(entered);
    emit p.o_widthNum->editingFinished();
    EXPECT_EQ(record.s_WinWidth, width) << entered;
    EXPECT_EQ(p.o_widthNum->text().toInt(), width) << entered;
    EXPECT_EQ(p.o_widthBar->value(), width) << entered;
    EXPECT_EQ(settingsFile().intValue("WinWidth"), width) << entered;
    EXPECT_TRUE(p.o_prefWidth1->isChecked()) << "presets are not touched";
  }
}

TEST_F(PaneTest, TagsOutsideTheTablesChangeNothingButStillSave) {
  openPane();
  RetikonControl& p = page();
  p.retikonPanel(1);
  const std::pair<QAbstractButton*, int> strays[] = {{p.o_shift, 5}, {p.o_option, -1}, {p.o_prefWidth0, 7}};
  for (auto [button, tag] : strays) {
    button->setProperty("tag", tag);
    button->click();
    EXPECT_EQ(saves(), 1);
  }
  EXPECT_EQ(settingsFile().string("keys"), "4352");
  EXPECT_EQ(settingsFile().string("WinWidth"), "5");
}

TEST_F(PaneTest, RetikonPanelSwitchesExactlyTheSixteenSettingControls) {
  openPane();
  RetikonControl& p = page();
  p.retikonPanel(1);
  EXPECT_EQ(enabledCount(p), 16);
  p.retikonPanel(0);
  EXPECT_EQ(enabledCount(p), 0);
  for (QWidget* other : std::vector<QWidget*>{p.o_retikon, child<QPushButton>("linkButton"), child<QLabel>("o_text1"),
                                             child<QLabel>("o_text2"), child<QLabel>("o_text3"), child<QLabel>("o_text4")})
    EXPECT_TRUE(other->isEnabled()) << other->objectName().toStdString();
  EXPECT_EQ(saves(), 0) << "the flag is not saved";
}

TEST_F(PaneTest, AColourChangeInThePanelIsSavedOnceHoweverOftenThePageWasFilled) {
  openPane();
  QColorDialog* panel = platform::sharedColorPanel();
  panel->setCurrentColor(Qt::blue);
  EXPECT_EQ(saves(), 1);
  const auto blue = platform::archiveColour({0, 0, 1, 1});
  EXPECT_EQ(settingsFile().data("WinColor2"), std::vector<uint8_t>(blue.begin(), blue.end()));

  // The page filled again (the view loaded again) in the same process.
  page().a_prefOpen(nullptr);
  page().a_prefOpen(nullptr);
  EXPECT_EQ(saves(), 0);
  panel->setCurrentColor(Qt::red);
  EXPECT_EQ(saves(), 1);
  EXPECT_EQ(*record.s_WinColor, (platform::Colour{1, 0, 0, 1}));

  panel->setCurrentColor(QColor(0, 255, 0, 64));
  EXPECT_NEAR(record.s_WinColor->alpha, 0.25f, 0.01f);
  auto stored = platform::unarchiveColour(*settingsFile().data("WinColor2"));
  ASSERT_TRUE(stored);
  EXPECT_EQ(*stored, *record.s_WinColor);
}

TEST_F(PaneTest, TheColourWellReachesTheRecordOnlyThroughThePanel) {
  record.s_Retikon = 1;
  openPane();
  RetikonControl& p = page();
  p.retikonPanel(1);
  p.o_colorWell->click();
  QColorDialog* panel = platform::sharedColorPanel();
  EXPECT_TRUE(panel->isVisible());
  EXPECT_FALSE(panel->isModal());
  EXPECT_EQ(saves(), 0) << "opening the panel with the same colour changes nothing";

  panel->setCurrentColor(QColor::fromRgbF(1, 1, 0, 1));
  EXPECT_EQ(*record.s_WinColor, (platform::Colour{1, 1, 0, 1}));
  EXPECT_EQ(*p.o_colorWell->color(), (platform::Colour{1, 1, 0, 1}));
  EXPECT_EQ(saves(), 1);
  pane->didUnselect();
  EXPECT_FALSE(panel->isVisible());
}

TEST_F(PaneTest, SwitchingOnSavesBeforeTheLaunchThenAddsTheLoginItem) {
  std::string settingsAtLaunch;
  system.onLaunch = [&] { settingsAtLaunch = unit::readText(settingsPath()); };
  openPane(vantrel::kAllUsersPanePath);
  RetikonControl& p = page();
  p.o_retikon->click();
  EXPECT_EQ(system.launched, std::vector<std::string>{vantrel::kAllUsersOverlayPath}) << "no copy for this user";
  EXPECT_NE(settingsAtLaunch.find("<key>retikon</key>\n\t<string>1</string>"), std::string::npos) << settingsAtLaunch;
  EXPECT_EQ(system.scripts, std::vector<std::string>{
                                "tell application \"System Events\"\n make new login item at end with properties "
                                "{path:\"/Library/PreferencePanes/Vantrel.prefPane/Contents/Resources/RetikonX.app\", "
                                "hidden:false} \n end tell"});
  EXPECT_EQ(enabledCount(p), 16);
  EXPECT_EQ(saves(), 1);

  p.o_retikon->click();
  EXPECT_EQ(record.s_Retikon, 0);
  ASSERT_EQ(system.scripts.size(), 2u);
  EXPECT_EQ(system.scripts[1], "tell application \"System Events\"\n delete login item \"RetikonX\"\n end tell");
  EXPECT_EQ(enabledCount(p), 0);
  EXPECT_EQ(settingsFile().string("retikon"), "0");
  EXPECT_EQ(saves(), 1);
  EXPECT_EQ(system.launched.size(), 1u) << "switching off launches nothing";
}

TEST_F(PaneTest, TheOverlayStartedIsTheOneOfThePaneThatRuns) {
  const auto userPane = home.path() / "Library/PreferencePanes/Vantrel.prefPane";
  const auto inPlace = home.path() / "build/Vantrel.prefPane";
  const std::string userCopy = (userPane / "Contents/Resources/RetikonX.app").string();
  const struct {
    std::filesystem::path bundle;
    bool userCopyInstalled;
    std::string started;
  } cases[] = {
      {userPane, true, userCopy},
      {vantrel::kAllUsersPanePath, true, userCopy},
      {vantrel::kAllUsersPanePath, false, vantrel::kAllUsersOverlayPath},
      {inPlace, true, (inPlace / "Contents/Resources/RetikonX.app").string()},
      {inPlace.string() + "/", false, (inPlace / "Contents/Resources/RetikonX.app").string()},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(userPane);
    std::filesystem::remove(settingsPath());
    if (c.userCopyInstalled) std::filesystem::create_directories(userCopy);
    system.launched.clear();
    system.scripts.clear();
    openPane(c.bundle);
    page().o_retikon->click();
    EXPECT_EQ(system.launched, std::vector<std::string>{c.started}) << c.bundle;
    EXPECT_NE(system.scripts.at(0).find("{path:\"" + c.started + "\", hidden:false}"), std::string::npos) << c.bundle;
  }
}

TEST_F(PaneTest, AnOverlayThatCannotStartLeavesTheBoxOffAndSaysWhy) {
  system.launchFails = true;
  openPane();
  RetikonControl& p = page();
  auto* problems = child<QLabel>("problemLine");
  EXPECT_TRUE(problems->isHidden());
  p.o_retikon->click();
  EXPECT_FALSE(p.o_retikon->isChecked());
  EXPECT_FALSE(problems->isHidden());
  EXPECT_NE(problems->text().toStdString().find("RetikonX could not be started: "), std::string::npos);
  EXPECT_NE(problems->text().toStdString().find("is missing"), std::string::npos);
  EXPECT_EQ(settingsFile().string("retikon"), "0");
  EXPECT_EQ(enabledCount(p), 0);
  EXPECT_TRUE(system.scripts.empty()) << "no login item for an overlay that does not run";
}

TEST_F(PaneTest, TheBoxOnWithNoOverlayRunningStartsItWhenThePageIsFilled) {
  platform::PlistDictionary stored;
  stored.setString("retikon", "1");
  writeSettings(stored);
  system.running = {{{{platform::kApplicationNameKey, "RetikonX"}}}};
  openPane();
  EXPECT_TRUE(system.launched.empty()) << "one runs already";

  system.running = {{{{platform::kApplicationNameKey, "Other"}}}};
  system.scans = 0;
  openPane();
  EXPECT_EQ(system.launched.size(), 1u);
  EXPECT_EQ(saves(), 0) << "filling the page saves nothing";
}

TEST_F(PaneTest, TheLinkButtonOpensItsOwnTitleAndSavesNothing) {
  openPane();
  auto* link = child<QPushButton>("linkButton");
  EXPECT_EQ(link->text(), "https://github.com/Halvix/RetikonX");
  link->click();
  EXPECT_EQ(system.scripts, std::vector<std::string>{"property target_URL : \"https://github.com/Halvix/RetikonX\"\n "
                                                     "open location target_URL"});
  EXPECT_EQ(saves(), 0);
}

}  // namespace
}  // namespace pane_test
