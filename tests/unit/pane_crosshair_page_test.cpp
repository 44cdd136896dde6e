// SPDX-License-Identifier: MIT
// The crosshair page with its real widgets: filling, every action and its
// save, the colour panel, and switching the overlay on and off.
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>

#include "pane/overlay_scripts.h"
#include "pane_test_support.h"
#include "platform/desktop/session_overlay_pointer.h"
#include "platform/pane_host/color_well.h"
#include "platform/pointer/gnome_pointer_extension.h"

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
  const std::string on = "<key>retikon</key><string>1</string>";
  const struct { std::string entries, checked; int width, distance; platform::Colour colour;
                 const char* running = "Other"; int enabled = 0; } cases[] = {
      {"", "o_control o_command o_prefWidth1 o_dispHotKey ", 5, 0, {0, 1, 0, 1}},  // no file
      // Mask 0 reads as control and command, a display kind but 0 as always, a flag but 1 as off.
      {"<key>WinWidth</key><string>7</string><key>keys</key><string>0</string><key>DispKind</key><string>2</string>"
       "<key>retikon</key><string>2</string><key>distance</key><string>12</string><key>Locate</key><string>1</string>"
       "<key>shadow</key><string>1</string><key>WinColor2</key><data>P4AAAAAAAAAAAAAAPwAAAA==</data>",
       "o_control o_command o_prefWidth2 o_dispAllways o_locate o_shadow ", 7, 12, {1, 0, 0, 0.5f}},
      {on, "o_control o_command o_prefWidth1 o_dispHotKey o_retikon ", 5, 0, {0, 1, 0, 1}, "RetikonX", 16},
  };
  for (const auto& c : cases) {
    if (!c.entries.empty()) write(kSettings, c.entries);
    const std::string before = unit::readText(home.preference(kSettings));
    system.running = {{{{"NSApplicationName", c.running}}}};
    system.launched.clear();
    openPane();
    RetikonControl& p = page();
    EXPECT_EQ(checkedNames({p.o_shift, p.o_control, p.o_option, p.o_capslock, p.o_command, p.o_prefWidth0, p.o_prefWidth1,
                            p.o_prefWidth2, p.o_dispAllways, p.o_dispHotKey, p.o_retikon, p.o_locate, p.o_shadow}),
              c.checked);
    EXPECT_EQ(std::tuple(enabledSettingControls(p), p.o_retikon->isEnabled(), button("linkButton")->isEnabled()),
              std::tuple(c.enabled, true, true));
    EXPECT_EQ(std::tuple(p.o_widthBar->value(), p.o_widthNum->text().toInt(), p.o_distBar->value()),
              std::tuple(c.width, c.width, c.distance));
    EXPECT_EQ(*p.o_colorWell->color(), c.colour);
    EXPECT_TRUE(platform::sharedColorPanel()->testOption(QColorDialog::ShowAlphaChannel));
    EXPECT_TRUE(system.launched.empty()) << "nothing to start, or it runs";
    EXPECT_EQ(unit::readText(home.preference(kSettings)), before);
    EXPECT_EQ(saves(), 0);
  }
  // The link is reached with Tab and opened with Enter, as a link is.
  QAbstractButton* link = button("linkButton");
  EXPECT_EQ(std::pair(link->focusPolicy(), link->cursor().shape()), std::pair(Qt::StrongFocus, Qt::PointingHandCursor));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(link, &enter);
  EXPECT_EQ(system.scripts, Strings{vantrel::openLocationScript("https://github.com/Halvix/RetikonX")});
  EXPECT_EQ(saves(), 0);

  // Without a session bus the window says what that costs.
  unit::ScopedEnvironment noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (home.path() / "no-bus").string());
  center = platform::DistributedNotificationCenter::defaultCenter();
  openPane();
  EXPECT_NE(problemLine().find("no D-Bus session bus: a running RetikonX is not told of changes"), npos) << problemLine();
}

TEST_F(PaneTest, EachActionChangesItsVariableAndSavesOnce) {
  openPane();
  RetikonControl& p = page();
  p.retikonPanel(1);
  p.o_widthBar->setValue(37);
  EXPECT_EQ(std::pair(p.o_widthNum->text().toInt(), saves()), std::pair(37, 1));
  p.o_distBar->setValue(20);
  EXPECT_EQ(std::tuple(read(kSettings).intValue("WinWidth"), read(kSettings).intValue("distance"), saves()),
            std::tuple(37, 20, 1));
  // Control off leaves command alone; mask 0 is saved as 0; a tag outside the tables changes nothing but saves.
  const struct { QAbstractButton* button; const char *key, *text; std::optional<int> tag = std::nullopt; } clicks[] = {
      {p.o_prefWidth2, "WinWidth", "10"}, {p.o_prefWidth0, "WinWidth", "1"}, {p.o_locate, "Locate", "1"},
      {p.o_shadow, "shadow", "1"},        {p.o_shadow, "shadow", "0"},      {p.o_control, "keys", "256"},
      {p.o_shift, "keys", "768"},         {p.o_option, "keys", "2816"},     {p.o_capslock, "keys", "3840"},
      {p.o_command, "keys", "3584"},      {p.o_shift, "keys", "3072"},      {p.o_option, "keys", "1024"},
      {p.o_capslock, "keys", "0"},        {p.o_dispAllways, "DispKind", "1"}, {p.o_dispHotKey, "DispKind", "0"},
      {p.o_shift, "keys", "0", 5},        {p.o_option, "keys", "0", -1},    {p.o_prefWidth2, "WinWidth", "1", 7}};
  for (const auto& click : clicks) {
    if (click.tag) click.button->setProperty("tag", *click.tag);
    click.button->click();
    EXPECT_EQ(std::pair(read(kSettings).string(click.key), saves()), std::pair(std::optional<std::string>(click.text), 1))
        << click.button->objectName().toStdString();
  }
  EXPECT_EQ(std::pair(p.o_widthBar->value(), p.o_widthNum->text().toInt()), std::pair(1, 1)) << "the preset in force";

  const std::pair<const char*, int> typed[] = {{"0", 1}, {"-4", 1}, {"abc", 1}, {"150", 100}, {"100", 100}, {" 42px", 42}};
  for (const auto& [entered, width] : typed) {
    p.o_widthNum->setText(entered);
    emit p.o_widthNum->editingFinished();
    EXPECT_EQ(std::tuple(record.s_WinWidth, p.o_widthNum->text().toInt(), p.o_widthBar->value(),
                         read(kSettings).intValue("WinWidth"), p.o_prefWidth2->isChecked()),
              std::tuple(width, width, width, width, true))  // the presets are not touched
        << entered;
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
  EXPECT_EQ(*p.o_colorWell->color(), (platform::Colour{0, 0, 1, 1}));

  // The page filled again (the view loaded again) in the same process.
  p.a_prefOpen(nullptr);
  EXPECT_EQ(saves(), 0);
  panel->setCurrentColor(Qt::red);
  EXPECT_EQ(saves(), 1);
  panel->setCurrentColor(QColor(255, 0, 0, 64));
  EXPECT_NEAR(record.s_WinColor->alpha, 0.25f, 0.01f);
  auto stored = platform::unarchiveColour(*read(kSettings).data("WinColor2"));
  EXPECT_TRUE(stored && *stored == *record.s_WinColor) << "the file holds the colour in force";
  pane->didUnselect();
  EXPECT_FALSE(panel->isVisible());
}

// Saved before the launch (the overlay reads the flag 1); no login item for an overlay that does not run, and
// nothing at all when the flag could not be saved. A problem is shown until the switch succeeds.
TEST_F(PaneTest, SwitchingOnStartsTheOverlayOfThePaneThatRunsAndMakesItALoginItemOrSaysWhyNot) {
  const fs::path userPane = home.path() / "Library/PreferencePanes/Vantrel.prefPane";
  const fs::path inPlace = home.path() / "build/Vantrel.prefPane";
  const std::string userCopy = (userPane / "Contents/Resources/RetikonX.app").string(),
                    inPlaceCopy = (inPlace / "Contents/Resources/RetikonX.app").string();
  enum Failure { None, Launch, Save };
  const struct { fs::path bundle; bool userCopyInstalled; std::string started; Failure failure = None; } cases[] = {
      // The user's own installed pane: pane_test.py.
      {vantrel::kAllUsersPanePath, false, vantrel::kAllUsersOverlayPath}, {vantrel::kAllUsersPanePath, true, userCopy},
      {inPlace, true, inPlaceCopy},
      {inPlace.string() + "/", false, inPlaceCopy}, {inPlace, false, inPlaceCopy, Launch}, {inPlace, false, "", Save}};
  std::string settingsAtLaunch;
  system.onLaunch = [&] { settingsAtLaunch = unit::readText(home.preference(kSettings)); };
  for (const auto& c : cases) {
    fs::remove_all(userPane);
    if (c.userCopyInstalled) fs::create_directories(userCopy);
    system.launched.clear();
    system.scripts.clear();
    system.launchFails = c.failure == Launch;
    openPane(c.bundle);
    saves();  // counted from here
    if (c.failure == Save) {
      fs::remove_all(home.preferences());
      unit::writeText(home.preferences(), "a file where the folder should be");
    }
    page().o_retikon->click();
    EXPECT_EQ(system.launched, c.started.empty() ? Strings{} : Strings{c.started}) << c.bundle;
    EXPECT_TRUE(c.failure == Save || settingsAtLaunch.find("<key>retikon</key>\n\t<string>1</string>") != npos);
    EXPECT_EQ(system.scripts, c.failure ? Strings{} : Strings{vantrel::addLoginItemScript(c.started)}) << c.bundle;
    EXPECT_EQ(std::tuple(page().o_retikon->isChecked(), enabledSettingControls(page()), saves(), record.s_Retikon),
              std::tuple(!c.failure, c.failure ? 0 : 16, c.failure == Launch ? 2 : !c.failure, int32_t{!c.failure}));
    const char* problems[] = {"", "RetikonX could not be started: ~/build/Vantrel.prefPane/Contents/Resources/"
                              "RetikonX.app is missing", "RetikonX not switched on: settings not saved: "};
    EXPECT_NE(problemLine().find(problems[c.failure]), npos) << problemLine();
    EXPECT_EQ(problemLine().empty(), !c.failure);
    if (c.failure) {
      if (c.failure == Save) fs::remove(home.preferences());
      system.launchFails = false;
      page().o_retikon->click();
      EXPECT_EQ(std::pair(page().o_retikon->isChecked(), problemLine()), std::pair(true, std::string())) << "cleared";
      page().o_retikon->click();
      continue;
    }
    page().o_retikon->click();
    EXPECT_EQ(system.scripts.back(), vantrel::deleteLoginItemScript());
    EXPECT_EQ(std::tuple(enabledSettingControls(page()), read(kSettings).string("retikon"), saves(), system.launched.size()),
              std::tuple(0, std::optional<std::string>("0"), 1, size_t{1}));  // switching off launches nothing
  }
  EXPECT_EQ(read(kSettings).string("retikon"), "0");
}

// On a desktop where the overlay cannot see the pointer by itself, switching it on, or opening the window with it
// on, gets the desktop ready and tells the user what is left to do.
TEST_F(PaneTest, TheOverlayOnGetsTheDesktopReadyToFollowThePointerAndTheWindowSaysWhatIsLeft) {
  const std::string logIn = "Log out and back in once so that the crosshair can follow the pointer";
  system.pointerNotice = logIn;
  openPane();
  EXPECT_TRUE(system.pointerPrepared.empty()) << "nothing to follow while the overlay is off";
  page().o_retikon->click();
  EXPECT_EQ(system.pointerPrepared, Strings{(home.path() / "Vantrel.prefPane").string()});
  EXPECT_TRUE(problemLine().ends_with(logIn)) << problemLine();

  system.pointerNotice.clear();
  system.pointerFails = "org.gnome.shell has no key enabled-extensions";
  openPane();
  EXPECT_EQ(system.pointerPrepared.size(), 2u);
  EXPECT_TRUE(problemLine().ends_with("The crosshair cannot follow the pointer: org.gnome.shell has no key "
                                      "enabled-extensions")) << problemLine();
  system.pointerFails.reset();
  openPane();
  EXPECT_EQ(problemLine(), "") << "an X11 session needs nothing";
}

// Where the desktop tells programs only of Caps Lock (KDE Plasma on Wayland), the window says so while the
// overlay is on in hot-key mode with another key chosen, and suggests Always.
TEST_F(PaneTest, HotKeyModeOnADesktopThatHidesTheKeysSaysSoWhileItMatters) {
  system.keysLimit = "This desktop does not let programs watch the modifier keys. Choose Always";
  openPane();
  EXPECT_EQ(problemLine(), "") << "the overlay is off";
  page().o_retikon->click();
  EXPECT_NE(problemLine().find("Choose Always."), npos) << "hot-key mode by default: " << problemLine();
  page().o_dispAllways->click();
  EXPECT_EQ(problemLine(), "");
  page().o_dispHotKey->click();
  EXPECT_NE(problemLine().find("does not let programs watch"), npos) << problemLine();
  openPane();
  EXPECT_NE(problemLine().find("does not let programs watch"), npos) << "and when the window opens again";
  for (QAbstractButton* key : {page().o_capslock, page().o_control, page().o_command}) key->click();
  EXPECT_EQ(problemLine(), "") << "Caps Lock alone is seen everywhere";
  page().o_shift->click();
  EXPECT_NE(problemLine().find("does not let programs watch"), npos) << problemLine();
  page().o_retikon->click();
  EXPECT_EQ(problemLine(), "") << "the overlay is off";
}

// The extension travels in the built pane and lands where GNOME Shell looks for the user's extensions;
// that GNOME Shell loads it and the overlay reaches it: wayland_gnome_test.py.
TEST(GnomePointerExtension, InstallsFromThePanesBundleOverAnOlderCopy) {
  unit::TempHome home;
  const fs::path bundle = BUILT_PANE;
  const fs::path installed = home.path() / ".local/share/gnome-shell/extensions" / platform::gnome::kExtensionUuid;
  unit::writeText(installed / "extension.js", "// an older version");
  ASSERT_TRUE(platform::installGnomePointerExtension(bundle, home.path() / ".local/share"));
  for (const char* file : {"metadata.json", "extension.js"})
    EXPECT_EQ(unit::readText(installed / file),
              unit::readText(bundle / "Contents/Resources/gnome-shell-extension" / file)) << file;

  auto missing = platform::installGnomePointerExtension(home.path() / "Nowhere.prefPane", home.path() / "data");
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().find("was not installed"), npos) << missing.error();
}

}  // namespace
}  // namespace pane_test
