// The crosshair page with its real widgets: filling, every action and its
// save, the colour panel, and switching the overlay on and off.
#include <QLineEdit>
#include <QSlider>

#include "pane/overlay_scripts.h"
#include "pane_test_support.h"
#include "platform/pane_host/color_well.h"

namespace pane_test {
namespace {

using vantrel::RetikonControl;
const char kSettings[] = "com.Halvix.RetikonX.plist";

int enabledSettingControls(RetikonControl& p) {
  const QWidget* controls[] = {p.o_capslock,   p.o_command,    p.o_control,     p.o_option,     p.o_shift,
                               p.o_prefWidth0, p.o_prefWidth1, p.o_prefWidth2,  p.o_dispAllways, p.o_dispHotKey,
                               p.o_locate,     p.o_shadow,     p.o_colorWell,   p.o_widthNum,   p.o_widthBar, p.o_distBar};
  return static_cast<int>(std::count_if(std::begin(controls), std::end(controls), [](auto w) { return w->isEnabled(); }));
}

TEST_F(PaneTest, FillingShowsTheStoredValuesOrTheDefaultsAndWritesNothing) {
  const struct {
    std::string entries, checked;  // entries empty: no file
    int width, distance;
    platform::Colour colour;
  } cases[] = {
      {"", "o_control o_command o_prefWidth1 o_dispHotKey ", 5, 0, {0, 1, 0, 1}},
      // Mask 0 reads as control and command, a display kind but 0 as always, a flag but 1 as off.
      {"<key>WinWidth</key><string>7</string><key>keys</key><string>0</string><key>DispKind</key><string>2</string>"
       "<key>retikon</key><string>2</string><key>distance</key><string>12</string><key>Locate</key><string>1</string>"
       "<key>shadow</key><string>1</string><key>WinColor2</key><data>P4AAAAAAAAAAAAAAPwAAAA==</data>",
       "o_control o_command o_prefWidth2 o_dispAllways o_locate o_shadow ", 7, 12, {1, 0, 0, 0.5f}},
  };
  for (const auto& c : cases) {
    if (!c.entries.empty()) write(kSettings, c.entries);
    const std::string before = unit::readText(home.preference(kSettings));
    openPane();
    RetikonControl& p = page();
    EXPECT_EQ(checkedNames({p.o_shift, p.o_control, p.o_option, p.o_capslock, p.o_command, p.o_prefWidth0, p.o_prefWidth1,
                            p.o_prefWidth2, p.o_dispAllways, p.o_dispHotKey, p.o_retikon, p.o_locate, p.o_shadow}),
              c.checked);
    EXPECT_EQ(enabledSettingControls(p), 0);
    EXPECT_TRUE(p.o_retikon->isEnabled() && button("linkButton")->isEnabled());
    EXPECT_EQ(std::tuple(p.o_widthBar->value(), p.o_widthNum->text().toInt(), p.o_distBar->value()),
              std::tuple(c.width, c.width, c.distance));
    EXPECT_EQ(*p.o_colorWell->color(), c.colour);
    EXPECT_TRUE(platform::sharedColorPanel()->testOption(QColorDialog::ShowAlphaChannel));
    EXPECT_EQ(unit::readText(home.preference(kSettings)), before);
    EXPECT_EQ(saves(), 0);
  }
  EXPECT_EQ(button("linkButton")->text(), "https://github.com/Halvix/RetikonX");
  button("linkButton")->click();
  EXPECT_EQ(system.scripts, Strings{vantrel::openLocationScript("https://github.com/Halvix/RetikonX")});
  EXPECT_EQ(saves(), 0);
}

TEST_F(PaneTest, EachActionChangesItsVariableAndSavesOnce) {
  openPane();
  RetikonControl& p = page();
  p.retikonPanel(1);
  p.o_widthBar->setValue(37);
  EXPECT_EQ(std::pair(p.o_widthNum->text().toInt(), saves()), std::pair(37, 1));
  p.o_distBar->setValue(20);
  EXPECT_EQ(std::pair(read(kSettings).intValue("WinWidth"), read(kSettings).intValue("distance")), std::pair(37, 20));
  EXPECT_EQ(saves(), 1);

  // Control off leaves command alone; the last mask, 0, is saved as 0. A
  // tag outside the tables changes nothing, and still saves.
  const struct {
    QAbstractButton* button;
    const char *key, *text;
    std::optional<int> tag = std::nullopt;
  } clicks[] = {{p.o_prefWidth2, "WinWidth", "10"}, {p.o_prefWidth0, "WinWidth", "1"}, {p.o_locate, "Locate", "1"},
                {p.o_shadow, "shadow", "1"},        {p.o_shadow, "shadow", "0"},      {p.o_control, "keys", "256"},
                {p.o_shift, "keys", "768"},         {p.o_option, "keys", "2816"},     {p.o_capslock, "keys", "3840"},
                {p.o_command, "keys", "3584"},      {p.o_shift, "keys", "3072"},      {p.o_option, "keys", "1024"},
                {p.o_capslock, "keys", "0"},        {p.o_dispAllways, "DispKind", "1"}, {p.o_dispHotKey, "DispKind", "0"},
                {p.o_shift, "keys", "0", 5},        {p.o_option, "keys", "0", -1},    {p.o_prefWidth2, "WinWidth", "1", 7}};
  for (const auto& click : clicks) {
    if (click.tag) click.button->setProperty("tag", *click.tag);
    click.button->click();
    EXPECT_EQ(read(kSettings).string(click.key), click.text) << click.button->objectName().toStdString();
    EXPECT_EQ(saves(), 1) << click.button->objectName().toStdString();
  }
  EXPECT_EQ(p.o_widthBar->value(), 1) << "the slider and the field show the preset in force";
  EXPECT_EQ(p.o_widthNum->text(), "1");

  const std::pair<const char*, int> typed[] = {{"0", 1}, {"-4", 1}, {"abc", 1}, {"150", 100}, {"100", 100}, {" 42px", 42}};
  for (const auto& [entered, width] : typed) {
    p.o_widthNum->setText(entered);
    emit p.o_widthNum->editingFinished();
    EXPECT_EQ(std::tuple(record.s_WinWidth, p.o_widthNum->text().toInt(), p.o_widthBar->value(),
                         read(kSettings).intValue("WinWidth")),
              std::tuple(width, width, width, width))
        << entered;
    EXPECT_TRUE(p.o_prefWidth2->isChecked()) << "presets are not touched";
  }
}

TEST_F(PaneTest, OnlyThePanelChangesTheColourAndOnceHoweverOftenThePageWasFilled) {
  openPane();
  RetikonControl& p = page();
  p.retikonPanel(1);
  p.o_colorWell->click();
  QColorDialog* panel = platform::sharedColorPanel();
  EXPECT_TRUE(panel->isVisible() && !panel->isModal());
  EXPECT_EQ(saves(), 0) << "opening the panel with the same colour changes nothing";
  panel->setCurrentColor(Qt::blue);
  EXPECT_EQ(saves(), 1);
  const auto blue = platform::archiveColour({0, 0, 1, 1});
  EXPECT_EQ(read(kSettings).data("WinColor2"), std::vector<uint8_t>(blue.begin(), blue.end()));
  EXPECT_EQ(*p.o_colorWell->color(), (platform::Colour{0, 0, 1, 1}));

  // The page filled again (the view loaded again) in the same process.
  p.a_prefOpen(nullptr);
  p.a_prefOpen(nullptr);
  EXPECT_EQ(saves(), 0);
  panel->setCurrentColor(Qt::red);
  EXPECT_EQ(saves(), 1);
  panel->setCurrentColor(QColor(255, 0, 0, 64));
  EXPECT_NEAR(record.s_WinColor->alpha, 0.25f, 0.01f);
  auto stored = platform::unarchiveColour(*read(kSettings).data("WinColor2"));
  ASSERT_TRUE(stored);
  EXPECT_EQ(*stored, *record.s_WinColor);
  pane->didUnselect();
  EXPECT_FALSE(panel->isVisible());
}

TEST_F(PaneTest, SwitchingOnSavesThenStartsTheOverlayOfThePaneThatRunsAndMakesItALoginItem) {
  const auto userPane = home.path() / "Library/PreferencePanes/Vantrel.prefPane";
  const auto inPlace = home.path() / "build/Vantrel.prefPane";
  const std::string userCopy = (userPane / "Contents/Resources/RetikonX.app").string();
  const std::string inPlaceCopy = (inPlace / "Contents/Resources/RetikonX.app").string();
  const struct {
    fs::path bundle;
    bool userCopyInstalled;
    std::string started;
  } cases[] = {{vantrel::kAllUsersPanePath, false, vantrel::kAllUsersOverlayPath}, {userPane, true, userCopy},
               {vantrel::kAllUsersPanePath, true, userCopy}, {inPlace, true, inPlaceCopy},
               {inPlace.string() + "/", false, inPlaceCopy}};
  std::string settingsAtLaunch;
  system.onLaunch = [&] { settingsAtLaunch = unit::readText(home.preference(kSettings)); };
  for (const auto& c : cases) {
    fs::remove_all(userPane);
    if (c.userCopyInstalled) fs::create_directories(userCopy);
    system.launched.clear();
    system.scripts.clear();
    settingsAtLaunch.clear();
    openPane(c.bundle);
    page().o_retikon->click();
    EXPECT_EQ(system.launched, Strings{c.started}) << c.bundle;
    EXPECT_NE(settingsAtLaunch.find("<key>retikon</key>\n\t<string>1</string>"), npos) << settingsAtLaunch;
    EXPECT_EQ(system.scripts, Strings{vantrel::addLoginItemScript(c.started)}) << c.bundle;
    EXPECT_EQ(enabledSettingControls(page()), 16);
    EXPECT_EQ(saves(), 1);

    page().o_retikon->click();
    EXPECT_EQ(system.scripts.back(), vantrel::deleteLoginItemScript());
    EXPECT_EQ(enabledSettingControls(page()), 0);
    EXPECT_EQ(read(kSettings).string("retikon"), "0");
    EXPECT_EQ(saves(), 1);
    EXPECT_EQ(system.launched.size(), 1u) << "switching off launches nothing";
  }
}

TEST_F(PaneTest, AnOverlayThatCannotStartLeavesTheBoxOffAndSaysWhy) {
  system.launchFails = true;
  openPane();
  EXPECT_EQ(problemLine(), "");
  page().o_retikon->click();
  EXPECT_FALSE(page().o_retikon->isChecked());
  EXPECT_TRUE(problemLine().ends_with("RetikonX could not be started: " + home.path().string() +
                                      "/Vantrel.prefPane/Contents/Resources/RetikonX.app is missing")) << problemLine();
  EXPECT_EQ(read(kSettings).string("retikon"), "0");
  EXPECT_EQ(enabledSettingControls(page()), 0);
  EXPECT_TRUE(system.scripts.empty()) << "no login item for an overlay that does not run";
}

TEST_F(PaneTest, TheBoxOnWithNoOverlayRunningStartsItWhenThePageIsFilled) {
  write(kSettings, "<key>retikon</key><string>1</string>");
  system.running = {{{{"NSApplicationName", "RetikonX"}}}};
  openPane();
  EXPECT_TRUE(system.launched.empty()) << "one runs already";
  system.running = {{{{"NSApplicationName", "Other"}}}};
  openPane();
  EXPECT_EQ(system.launched.size(), 1u);
  EXPECT_EQ(saves(), 0) << "filling the page saves nothing";
}

}  // namespace
}  // namespace pane_test
