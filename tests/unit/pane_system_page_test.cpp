// SPDX-License-Identifier: MIT
// The system tweaks page in the whole load sequence: its files and what other programs do to them, the
// desktop, the file manager's zoom setting (the system generation decides whether there is one), its restart.
#include <QGroupBox>
#include <QTabWidget>

#include "pane_test_support.h"
#include "platform/pane_host/float_slider.h"

namespace pane_test {
namespace {

using namespace std::chrono_literals;
const char kGlobal[] = ".GlobalPreferences.plist";
const char kFinder[] = "com.apple.finder.plist";
const std::string kPlacement = "<key>AppleScrollBarVariant</key>";
const std::string kTrackpad = "<key>com.apple.trackpad.scaling</key><real>0.5</real>";
const std::string kMouse = "<key>com.apple.mouse.scaling</key>";
const std::string kComplete = kPlacement + "<string>Single</string>" + kTrackpad + kMouse + "<real>2</real>";

class SystemPageTest : public PaneTest {
 protected:
  std::string radios() { return checkedNames({pane->o_single, pane->o_doublemin, pane->o_doublemax, pane->o_vantrel}); }
  std::string zoomTool(const char* value) { return tool + " write com.apple.finder AnimateWindowZoom -bool " + value; }
  std::string global() const { return home.preference(kGlobal); }
  const std::string tool = (home.path() / "Vantrel.prefPane/Contents/Resources/defaults").string();
};

TEST_F(SystemPageTest, TheLoadShowsWhatTheFileHoldsAndFillsInOnlyWhatIsMissing) {
  const std::string single = kPlacement + "<string>Single</string>" + kTrackpad + kMouse;
  // The radio button on (none: all four off), the slider, one save for each value filled in.
  const struct { std::string entries, radio; float slider; int saves; } cases[] = {
      {kPlacement + "<string>DoubleMax</string>" + kTrackpad + kMouse + "<real>2</real>", "o_doublemax ", 2.0f, 0},
      {kPlacement + "<string>doublemax</string>" + kTrackpad + kMouse + "<real>2</real>", "", 2.0f, 0},  // exact names
      {kPlacement + "<integer>1</integer>" + kTrackpad + kMouse + "<real>2</real>", "", 2.0f, 0},
      // A scaling that is no finite number shows the default and stays.
      {single + "<string>3</string>", "o_single ", 1.7f, 0}, {single + "<integer>3</integer>", "o_single ", 3.0f, 0},
      {single + "<real>1e300</real>", "o_single ", 1.7f, 0}, {"", "o_single ", 1.7f, 3},  // last: its file is read below
  };
  for (const auto& c : cases) {
    write(kGlobal, "<key>AppleLocale</key><string>en_GB</string>" + c.entries);
    const std::string before = unit::readText(global());
    openPane();
    EXPECT_EQ(std::tuple(radios(), pane->o_slider->floatValue(), home.saves(kGlobal)), std::tuple(c.radio, c.slider, c.saves))
        << c.entries;
    EXPECT_TRUE((c.saves > 0 || unit::readText(global()) == before) && system.desktop.empty()) << c.entries;
  }
  // Filled in as the system's own settings store them: 1.7 in single precision.
  const auto file = read(kGlobal);
  EXPECT_EQ(std::tuple(file.string("AppleScrollBarVariant"), file.real("com.apple.trackpad.scaling"),
                       file.real("com.apple.mouse.scaling"), file.string("AppleLocale")),
            std::tuple("Single", double{1.7f}, double{1.7f}, "en_GB"));
}

TEST_F(SystemPageTest, EachControlSavesThenChangesTheDesktopAndOtherProgramsChangesSurvive) {
  write(kGlobal, kTrackpad + kMouse + "<real>2</real><key>AppleLocale</key><string>en_GB</string>");
  openPane();  // stores "Single"
  write(kGlobal, kComplete + "<key>AppleInterfaceStyle</key><string>Dark</string>");
  const std::pair<QAbstractButton*, const char*> choices[] = {
      {pane->o_vantrel, "DoubleBoth"}, {pane->o_doublemin, "DoubleMin"}, {pane->o_doublemax, "DoubleMax"},
      {pane->o_single, "Single"}};
  for (auto [radio, stored] : choices) {
    radio->click();
    EXPECT_EQ(std::tuple(radios(), read(kGlobal).string("AppleScrollBarVariant"), home.saves(kGlobal)),
              std::tuple(radio->objectName().toStdString() + " ", stored, 1));
  }
  pane->o_slider->setValue(100);
  const auto file = read(kGlobal);
  EXPECT_EQ(std::tuple(file.real("com.apple.mouse.scaling"), file.real("com.apple.trackpad.scaling"),
                       file.string("AppleInterfaceStyle"), file.contains("AppleLocale"), home.saves(kGlobal)),
            std::tuple(1.0, 1.0, "Dark", false, 1));
  EXPECT_EQ(system.desktop, (Strings{"arrows 1111", "arrows 1001", "arrows 0110", "arrows 1100", "speed -0.411765"}));

  // A long failure with long paths wraps, the window grows to show it whole, and it goes once the speed is set.
  QWidget* page = view->findChild<QTabWidget*>("pages")->currentWidget();
  view->show();
  view->resize(view->sizeHint());
  system.desktopFails = "this desktop offers no way to set the pointer speed: " +
                        (home.path() / "a-rather-long-folder-name/another-long-folder-name/and-a-third-one").string() +
                        " is not there, and neither are the next few words that make this a long line to read";
  pane->o_slider->setValue(200);
  QApplication::processEvents();
  for (QGroupBox* box : page->findChildren<QGroupBox*>())
    EXPECT_GE(box->height(), box->minimumSizeHint().height()) << box->objectName().toStdString();
  EXPECT_NE(problemLine().find("the pointer speed: ~/a-rather-long-folder-name/another"), npos) << problemLine();
  system.desktopFails.reset();
  pane->o_slider->setValue(150);
  EXPECT_EQ(problemLine(), "");
  system.desktopFails = "this desktop offers no way to set the pointer speed";
  fs::remove(global());  // started again with the page's keys only
  pane->o_doublemax->click();
  EXPECT_EQ(read(kGlobal).keys().size(), 3u);

  // A file spoilt since the load is left as it is, and the desktop not changed.
  unit::writeText(global(), "garbage");
  system.desktop.clear();
  pane->o_doublemin->click();
  EXPECT_NE(problemLine().find("scroll-bar arrows not saved: "), npos) << problemLine();
  pane->o_slider->setValue(50);
  EXPECT_NE(problemLine().find("pointer speed not saved: "), npos) << problemLine();
  EXPECT_NE(problemLine().find("not overwritten"), npos) << problemLine();
  EXPECT_EQ(std::pair(unit::readText(global()), system.desktop.size()), std::pair(std::string("garbage"), size_t{0}));
}

// A fresh account: opening writes nothing, the first change makes a private file with the page's keys.
TEST_F(SystemPageTest, WithoutAFileTheFirstChangeCreatesItAndAnUnreadableOneIsNeverWritten) {
  openPane();
  EXPECT_EQ(std::pair(radios(), pane->o_ZoomCheck->isChecked()), std::pair(std::string("o_single "), false));
  EXPECT_FALSE(fs::exists(home.path() / "Library"));
  pane->o_doublemax->click();
  const auto file = read(kGlobal);
  EXPECT_EQ(std::tuple(file.keys().size(), file.string("AppleScrollBarVariant"), file.real("com.apple.mouse.scaling")),
            std::tuple(size_t{3}, "DoubleMax", double{1.7f}));
  EXPECT_EQ(std::pair(fs::status(global()).permissions(), fs::status(home.preferences()).permissions()),
            std::pair(fs::perms::owner_read | fs::perms::owner_write, fs::perms::owner_all));
  pane->o_slider->setValue(100);
  openPane();
  EXPECT_EQ(std::pair(radios(), pane->o_slider->floatValue()), std::pair(std::string("o_doublemax "), 1.0f));
  EXPECT_EQ(system.desktop, (Strings{"arrows 0110", "speed -0.411765"}));
  EXPECT_EQ(std::pair(system.tasks.size(), problemLine()), std::pair(size_t{0}, std::string()));

  unit::writeText(global(), "<plist version=\"1.0\"><array/></plist>");  // no dictionary
  openPane();
  pane->o_doublemin->click();
  EXPECT_EQ(unit::readText(global()), "<plist version=\"1.0\"><array/></plist>");
}

TEST_F(SystemPageTest, TheZoomCheckboxShowsWhatIsReadableRepairsTheRestAndGoesBackWhenTheToolFails) {
  const std::string key = "<key>AnimateWindowZoom</key>", date = key + "<date>2020-01-01T00:00:00Z</date>";
  const struct { double appKit; std::string entry; bool toolMissing, enabled, checked, repaired; } cases[] = {
      {742.9, date, false, false, false, false},  // older generations do not read it
      {743.0, key + "<true/>", false, true, true, false}, {2487, key + "<false/>", false, true, false, false},
      {2487, "", false, true, false, false}, {2487, key + "<data>AAE=</data>", true, true, true, true},
      {2487, date, false, true, true, true}};
  for (const auto& c : cases) {
    appKitVersion = c.appKit;
    write(kFinder, "<key>ShowPathbar</key><true/>" + c.entry);
    system.tasks.clear();
    system.taskFails = c.toolMissing;
    openPane();
    EXPECT_EQ(std::pair(pane->o_ZoomCheck->isEnabled(), pane->o_ZoomCheck->isChecked()), std::pair(c.enabled, c.checked))
        << c.entry;
    EXPECT_EQ(system.tasks, c.repaired ? Strings{zoomTool("true")} : Strings()) << c.entry;
    EXPECT_EQ(problemLine().find("could not run ~/Vantrel.prefPane/Contents/Resources/defaults") != npos, c.toolMissing)
        << problemLine();
    EXPECT_TRUE(page().o_prefWidth1->isChecked() && page().o_control->isChecked()) << "the crosshair page is filled last";
  }
  pane->o_ZoomCheck->click();
  EXPECT_EQ(system.tasks.back(), zoomTool("false"));
  system.taskExitStatus = 1;
  pane->o_ZoomCheck->click();
  EXPECT_FALSE(pane->o_ZoomCheck->isChecked()) << "nothing was stored";
  EXPECT_NE(problemLine().find("exit status 1"), npos) << problemLine();
}

TEST_F(SystemPageTest, TheRestartWaitsForTheFileManagerToLeaveThenStartsItOnce) {
  // A restart that waits for the file manager to leave and starts it once: pane_desktop_test.py.
  const platform::ApplicationDescription finder = {{"NSApplicationName", "Finder"}, {"pid", "40"}};
  const struct { std::vector<Applications> lists; bool launchFails; size_t scans;
                 std::chrono::milliseconds waited; const char* problem; } cases[] = {
      {{{finder}}, false, 101, 10s, "the file manager did not quit; not starting it again"},
      {{{}}, true, 1, 0ms, "could not start the file manager again: /System/Library/CoreServices/Finder.app is missing"}};
  openPane();
  for (const auto& c : cases) {
    system = FakeSystem();
    system.running = c.lists;
    system.launchFails = c.launchFails;
    system.scriptReply = "Finder got an error: Connection is invalid.";  // changes nothing: the list tells
    button("restartFinderButton")->click();
    EXPECT_EQ(system.scripts, Strings{vantrel::kFinderQuitScript});
    EXPECT_EQ(std::tuple(system.launched.size(), system.scans, system.time.time_since_epoch()),
              std::tuple(c.scans < 101 ? 1u : 0u, c.scans, c.waited)) << c.problem;
    EXPECT_TRUE(problemLine().ends_with(c.problem)) << problemLine();
  }
}

}  // namespace
}  // namespace pane_test
