// The crosshair page with its real widgets: filling, every action, the
// width clamp, tags outside the tables, enabling, and the colour panel.
#include <QAbstractSlider>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "pane/overlay_scripts.h"
#include "pane_test_support.h"
#include "platform/foundation/atomic_file.h"
#include "platform/foundation/colour.h"
#include "platform/pane_host/color_well.h"
#include "platform/pane_host/colour_panel.h"

namespace pane_test {
namespace {

using vantrel::RetikonControl;

std::vector<QWidget*> settingControls(RetikonControl& page) {
  return {page.o_capslock, page.o_command,     page.o_control,    page.o_option,   page.o_shift,    page.o_prefWidth0,
          page.o_prefWidth1, page.o_prefWidth2, page.o_dispAllways, page.o_dispHotKey, page.o_locate, page.o_shadow,
          page.o_colorWell, page.o_widthNum,   page.o_widthBar,   page.o_distBar};
}

void enterWidth(QLineEdit* field, const QString& text) {
  field->setText(text);
  emit field->editingFinished();
}

TEST_F(PaneTest, FillingFromNoFileShowsTheDefaultsAndWritesNothing) {
  openPane();
  RetikonControl& p = page();
  EXPECT_EQ(*p.o_colorWell->color(), *platform::greenColor());
  EXPECT_EQ(platform::colourFromQColor(platform::sharedColorPanel()->currentColor())->green, 1.0f);
  EXPECT_TRUE(platform::sharedColorPanel()->testOption(QColorDialog::ShowAlphaChannel));
  EXPECT_FALSE(p.o_prefWidth0->isChecked());
  EXPECT_TRUE(p.o_prefWidth1->isChecked());
  EXPECT_FALSE(p.o_prefWidth2->isChecked());
  EXPECT_EQ(p.o_widthBar->value(), 5);
  EXPECT_EQ(p.o_widthNum->text(), "5");
  EXPECT_EQ(p.o_distBar->value(), 0);
  EXPECT_TRUE(p.o_control->isChecked());
  EXPECT_TRUE(p.o_command->isChecked());
  EXPECT_FALSE(p.o_shift->isChecked());
  EXPECT_FALSE(p.o_capslock->isChecked());
  EXPECT_FALSE(p.o_option->isChecked());
  EXPECT_TRUE(p.o_dispHotKey->isChecked());
  EXPECT_FALSE(p.o_dispAllways->isChecked());
  EXPECT_FALSE(p.o_locate->isChecked());
  EXPECT_FALSE(p.o_shadow->isChecked());
  EXPECT_FALSE(p.o_retikon->isChecked());
  for (QWidget* control : settingControls(p)) EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
  EXPECT_TRUE(p.o_retikon->isEnabled());
  EXPECT_TRUE(child<QPushButton>("linkButton")->isEnabled());
  EXPECT_FALSE(std::filesystem::exists(settingsPath()));
  EXPECT_EQ(saves(), 0);
}

TEST_F(PaneTest, FillingFromStoredValuesShowsThemAsStoredAndWritesNothing) {
  platform::PlistDictionary stored;
  stored.setString("WinWidth", "7");
  stored.setString("keys", "0");
  stored.setString("DispKind", "2");
  stored.setString("retikon", "2");
  stored.setString("distance", "12");
  stored.setString("Locate", "1");
  stored.setString("shadow", "1");
  stored.setData("WinColor2", platform::archiveColour({1, 0, 0, 0.5f}));
  writeSettings(stored);
  const auto before = platform::readWholeFile(settingsPath());
  saves();

  openPane();
  RetikonControl& p = page();
  EXPECT_TRUE(p.o_prefWidth2->isChecked());
  EXPECT_FALSE(p.o_prefWidth1->isChecked());
  EXPECT_EQ(p.o_widthBar->value(), 7);
  EXPECT_EQ(p.o_widthNum->text(), "7");
  EXPECT_EQ(p.o_distBar->value(), 12);
  EXPECT_TRUE(p.o_control->isChecked());  // mask 0 reads as control and command
  EXPECT_TRUE(p.o_command->isChecked());
  EXPECT_TRUE(p.o_dispAllways->isChecked());  // any display kind but 0
  EXPECT_FALSE(p.o_dispHotKey->isChecked());
  EXPECT_FALSE(p.o_retikon->isChecked());  // only exactly 1 is on
  for (QWidget* control : settingControls(p)) EXPECT_FALSE(control->isEnabled());
  EXPECT_TRUE(p.o_locate->isChecked());
  EXPECT_TRUE(p.o_shadow->isChecked());
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
  saves();
  openPane();
  RetikonControl& p = page();
  ASSERT_TRUE(p.o_widthBar->isEnabled());

  p.o_widthBar->setValue(37);
  EXPECT_EQ(settingsFile().string("WinWidth"), "37");
  EXPECT_EQ(p.o_widthNum->text(), "37");
  EXPECT_EQ(saves(), 1);

  p.o_prefWidth2->click();  // preset 10: the slider and field keep 37
  EXPECT_EQ(record.s_WinWidth, 10);
  EXPECT_EQ(settingsFile().string("WinWidth"), "10");
  EXPECT_EQ(p.o_widthBar->value(), 37);
  EXPECT_EQ(p.o_widthNum->text(), "37");
  p.o_prefWidth0->click();
  EXPECT_EQ(settingsFile().string("WinWidth"), "1");

  p.o_distBar->setValue(20);
  EXPECT_EQ(settingsFile().string("distance"), "20");

  p.o_locate->click();
  EXPECT_EQ(settingsFile().string("Locate"), "1");
  p.o_shadow->click();
  EXPECT_EQ(settingsFile().string("shadow"), "1");
  p.o_shadow->click();
  EXPECT_EQ(settingsFile().string("shadow"), "0");

  p.o_control->click();  // control off: command alone remains
  EXPECT_EQ(settingsFile().string("keys"), "256");
  p.o_shift->click();
  p.o_option->click();
  p.o_capslock->click();
  EXPECT_EQ(record.s_key, settings::kCommandKey | settings::kShiftKey | settings::kOptionKey | settings::kCapsLockKey);
  p.o_command->click();
  p.o_shift->click();
  p.o_option->click();
  p.o_capslock->click();
  EXPECT_EQ(settingsFile().string("keys"), "0");  // saved as 0; the next filling shows control and command

  p.o_dispAllways->click();
  EXPECT_EQ(settingsFile().string("DispKind"), "1");
  p.o_dispHotKey->click();
  EXPECT_EQ(settingsFile().string("DispKind"), "0");

  EXPECT_EQ(saves(), 16);
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
  const struct {
    const char* entered;
    int width;
  } cases[] = {{"0", 1}, {"-4", 1}, {"abc", 1}, {"150", 100}, {"100", 100}, {" 42px", 42}};
  for (const auto& entry : cases) {
    enterWidth(p.o_widthNum, entry.entered);
    EXPECT_EQ(record.s_WinWidth, entry.width) << entry.entered;
    EXPECT_EQ(p.o_widthNum->text().toInt(), entry.width) << entry.entered;
    EXPECT_EQ(p.o_widthBar->value(), entry.width) << entry.entered;
    EXPECT_EQ(settingsFile().intValue("WinWidth"), entry.width) << entry.entered;
    EXPECT_TRUE(p.o_prefWidth1->isChecked()) << "presets are not touched";
  }
}

TEST_F(PaneTest, TagsOutsideTheTablesChangeNothingButStillSave) {
  openPane();
  RetikonControl& p = page();
  p.retikonPanel(1);
  const settings::SettingsRecord before = record;
  saves();

  p.o_shift->setProperty("tag", 5);
  p.o_shift->click();
  p.o_option->setProperty("tag", -1);
  p.o_option->click();
  EXPECT_EQ(record.s_key, before.s_key);

  p.o_prefWidth0->setProperty("tag", 7);
  p.o_prefWidth0->click();
  EXPECT_EQ(record.s_WinWidth, before.s_WinWidth);
  EXPECT_EQ(saves(), 3);
  EXPECT_EQ(settingsFile().string("keys"), "4352");
  EXPECT_EQ(settingsFile().string("WinWidth"), "5");
}

TEST_F(PaneTest, RetikonPanelSwitchesExactlyTheSixteenSettingControls) {
  openPane();
  RetikonControl& p = page();
  p.retikonPanel(1);
  for (QWidget* control : settingControls(p)) EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
  p.retikonPanel(0);
  for (QWidget* control : settingControls(p)) EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
  EXPECT_TRUE(p.o_retikon->isEnabled());
  EXPECT_TRUE(child<QPushButton>("linkButton")->isEnabled());
  for (QWidget* text : {p.o_text1, p.o_text2, p.o_text3, p.o_text4}) EXPECT_TRUE(text->isEnabled());
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
  pane->o_vantrelPane->a_prefOpen(nullptr);
  pane->o_vantrelPane->a_prefOpen(nullptr);
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
  openPane();
  RetikonControl& p = page();
  p.o_retikon->click();
  ASSERT_EQ(workspace.launched.size(), 1u);
  EXPECT_EQ(workspace.launched[0], vantrel::kAllUsersOverlayPath) << "no copy installed for this user";
  EXPECT_NE(workspace.settingsAtLaunch[0].find("<key>retikon</key>\n\t<string>1</string>"), std::string::npos)
      << workspace.settingsAtLaunch[0];
  ASSERT_EQ(scripts.sources.size(), 1u);
  EXPECT_EQ(scripts.sources[0], "tell application \"System Events\"\n make new login item at end with properties "
                                "{path:\"/Library/PreferencePanes/Vantrel.prefPane/Contents/Resources/RetikonX.app\", "
                                "hidden:false} \n end tell");
  for (QWidget* control : settingControls(p)) EXPECT_TRUE(control->isEnabled());
  EXPECT_EQ(saves(), 1);

  p.o_retikon->click();
  EXPECT_EQ(record.s_Retikon, 0);
  ASSERT_EQ(scripts.sources.size(), 2u);
  EXPECT_EQ(scripts.sources[1], "tell application \"System Events\"\n delete login item \"RetikonX\"\n end tell");
  for (QWidget* control : settingControls(p)) EXPECT_FALSE(control->isEnabled());
  EXPECT_EQ(settingsFile().string("retikon"), "0");
  EXPECT_EQ(saves(), 1);
  EXPECT_EQ(workspace.launched.size(), 1u) << "switching off launches nothing";
}

TEST_F(PaneTest, TheCopyInstalledForThisUserIsPreferred) {
  auto userCopy = home.path() / "Library/PreferencePanes/Vantrel.prefPane/Contents/Resources/RetikonX.app";
  std::filesystem::create_directories(userCopy);
  openPane();
  page().o_retikon->click();
  ASSERT_EQ(workspace.launched.size(), 1u);
  EXPECT_EQ(workspace.launched[0], userCopy.string());
  EXPECT_NE(scripts.sources[0].find("{path:\"" + userCopy.string() + "\", hidden:false}"), std::string::npos);
}

TEST_F(PaneTest, TheLinkButtonOpensItsOwnTitleAndSavesNothing) {
  openPane();
  auto* link = child<QPushButton>("linkButton");
  EXPECT_EQ(link->text(), "https://github.com/Halvix/RetikonX");
  link->click();
  ASSERT_EQ(scripts.sources.size(), 1u);
  EXPECT_EQ(scripts.sources[0], "property target_URL : \"https://github.com/Halvix/RetikonX\"\n open location target_URL");
  EXPECT_EQ(saves(), 0);
}

}  // namespace
}  // namespace pane_test
