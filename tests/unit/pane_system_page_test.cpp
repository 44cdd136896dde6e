// The system tweaks page inside the whole load sequence: what the load shows
// and fills in, what each control saves and then changes on the desktop,
// files that other programs change or spoil, the file manager's zoom
// setting and its restart.
#include <sys/stat.h>

#include "pane/tweaks/finder_restart.h"
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
  Strings zoomTool(const char* value) { return {tool, "write", "com.apple.finder", "AnimateWindowZoom", "-bool", value}; }
  std::string global() const { return home.preference(kGlobal); }
  const std::string tool = (home.path() / "Vantrel.prefPane/Contents/Resources/defaults").string();
};

TEST_F(SystemPageTest, TheLoadShowsWhatTheFileHoldsAndFillsInOnlyWhatIsMissing) {
  const struct {
    std::string entries, radio;  // radio empty: all four off
    float slider;
    int saves;  // one for each value filled in
  } cases[] = {
      {kPlacement + "<string>DoubleMax</string>" + kTrackpad + kMouse + "<real>2</real>", "o_doublemax ", 2.0f, 0},
      {kPlacement + "<string>doublemax</string>" + kTrackpad + kMouse + "<real>2</real>", "", 2.0f, 0},  // exact names
      {kPlacement + "<integer>1</integer>" + kTrackpad + kMouse + "<real>2</real>", "", 2.0f, 0},
      // A scaling that is no finite number shows the default and stays.
      {kPlacement + "<string>Single</string>" + kTrackpad + kMouse + "<string>3</string>", "o_single ", 1.7f, 0},
      {kPlacement + "<string>Single</string>" + kTrackpad + kMouse + "<integer>3</integer>", "o_single ", 3.0f, 0},
      {kPlacement + "<string>Single</string>" + kTrackpad + kMouse + "<real>1e300</real>", "o_single ", 1.7f, 0},
      {"", "o_single ", 1.7f, 3},  // last: its file is checked below
  };
  for (const auto& c : cases) {
    write(kGlobal, "<key>AppleLocale</key><string>en_GB</string>" + c.entries);
    const std::string before = unit::readText(global());
    openPane();
    EXPECT_EQ(radios(), c.radio) << c.entries;
    EXPECT_FLOAT_EQ(pane->o_slider->floatValue(), c.slider) << c.entries;
    EXPECT_EQ(home.saves(kGlobal), c.saves) << c.entries;
    EXPECT_TRUE(c.saves > 0 || unit::readText(global()) == before) << c.entries;
    EXPECT_TRUE(system.desktop.empty()) << "the load changes nothing on the desktop";
  }
  // Filled in as the system's own settings store them: 1.7 in single precision.
  const auto file = read(kGlobal);
  EXPECT_EQ(file.string("AppleScrollBarVariant"), "Single");
  EXPECT_EQ(file.real("com.apple.trackpad.scaling"), double{1.7f});
  EXPECT_EQ(file.real("com.apple.mouse.scaling"), double{1.7f});
  EXPECT_EQ(file.string("AppleLocale"), "en_GB");
  EXPECT_EQ(pane->appID, "com.Halvix.Vantrel");
}

TEST_F(SystemPageTest, EachControlSavesThenChangesTheDesktopAndOtherProgramsChangesSurvive) {
  write(kGlobal, kTrackpad + kMouse + "<real>2</real><key>AppleLocale</key><string>en_GB</string>");
  openPane();  // stores "Single"
  write(kGlobal, kComplete + "<key>AppleInterfaceStyle</key><string>Dark</string>");
  const std::pair<QAbstractButton*, const char*> choices[] = {
      {pane->o_vantrel, "DoubleBoth"}, {pane->o_doublemin, "DoubleMin"}, {pane->o_doublemax, "DoubleMax"}, {pane->o_single, "Single"}};
  for (auto [radio, stored] : choices) {
    radio->click();
    EXPECT_EQ(radios(), radio->objectName().toStdString() + " ");
    EXPECT_EQ(read(kGlobal).string("AppleScrollBarVariant"), stored);
    EXPECT_EQ(home.saves(kGlobal), 1) << stored;
  }
  pane->o_slider->setValue(100);
  auto file = read(kGlobal);
  EXPECT_EQ(file.real("com.apple.mouse.scaling"), 1.0);
  EXPECT_EQ(file.real("com.apple.trackpad.scaling"), 1.0);
  EXPECT_EQ(file.string("AppleInterfaceStyle"), "Dark");
  EXPECT_FALSE(file.contains("AppleLocale"));
  EXPECT_EQ(home.saves(kGlobal), 1);
  EXPECT_EQ(system.desktop, (Strings{"arrows 1111", "arrows 1001", "arrows 0110", "arrows 1100", "speed -0.411765"}));

  system.desktopFails = "this desktop offers no way to set the pointer speed";
  pane->o_slider->setValue(200);
  EXPECT_NE(problemLine().find(*system.desktopFails), npos);
  fs::remove(global());  // started again with the page's keys only
  pane->o_doublemax->click();
  EXPECT_EQ(read(kGlobal).keys().size(), 3u);
}

TEST_F(SystemPageTest, WithoutAFileAtTheLoadNothingIsWrittenButTheDesktopChanges) {
  openPane();
  EXPECT_EQ(radios(), "o_single ");
  EXPECT_FALSE(pane->o_ZoomCheck->isChecked());
  pane->o_doublemax->click();
  pane->o_slider->setValue(100);
  EXPECT_FALSE(fs::exists(home.path() / "Library"));
  EXPECT_EQ(system.desktop, (Strings{"arrows 0110", "speed -0.411765"}));
  EXPECT_TRUE(system.tasks.empty());
  EXPECT_EQ(problemLine(), "");

  unit::writeText(global(), "<plist version=\"1.0\"><array/></plist>");  // no dictionary
  openPane();
  pane->o_doublemin->click();
  EXPECT_EQ(unit::readText(global()), "<plist version=\"1.0\"><array/></plist>");
}

TEST_F(SystemPageTest, AFileSpoiltAfterTheLoadIsNotReplacedAndTheDesktopNotChanged) {
  std::string nested = "<plist><dict><key>k</key>";
  for (int i = 0; i < 30000; ++i) nested += "<array>";
  const std::function<void(const char*)> spoil[] = {
      [](const char* path) { unit::writeText(path, "garbage"); },
      [&](const char* path) { unit::writeText(path, nested); },
      [](const char* path) { chmod(path, 0); },
      [](const char* path) { fs::remove(path), mkfifo(path, 0600); },
      [](const char* path) { fs::remove(path), fs::create_symlink("/dev/zero", path); },
  };
  for (size_t i = 0; i < std::size(spoil); ++i) {
    fs::remove(global());
    write(kGlobal, kComplete);
    openPane();
    system.desktop.clear();
    spoil[i](global().c_str());
    const auto type = fs::symlink_status(global()).type();
    const std::string content = type == fs::file_type::regular ? unit::readText(global()) : "";
    pane->o_doublemax->click();
    if (i == 2 && geteuid() == 0) continue;  // the owner of every file can still read it
    EXPECT_NE(problemLine().find("scroll-bar arrows not saved: "), npos) << i << problemLine();
    EXPECT_NE(problemLine().find("not overwritten"), npos) << i << problemLine();
    pane->o_slider->setValue(50);
    EXPECT_NE(problemLine().find("pointer speed not saved: "), npos) << i << problemLine();
    EXPECT_EQ(fs::symlink_status(global()).type(), type) << i;
    EXPECT_TRUE(content.empty() || unit::readText(global()) == content) << i;
    EXPECT_TRUE(system.desktop.empty()) << i;
  }
}

TEST_F(SystemPageTest, TheZoomCheckboxShowsReadableValuesAndRepairsOthersThroughTheToolOfItsBundle) {
  const struct {
    double appKit;
    const char* valueXml;  // empty: no such key
    bool enabled, checked, repaired;
  } cases[] = {
      {2487, "<true/>", true, true, false},       {2487, "<false/>", true, false, false},
      {2487, "", true, false, false},             {2487, "<array/>", true, true, true},
      {2487, "<data>AAE=</data>", true, true, true}, {2487, "<date>2020-01-01T00:00:00Z</date>", true, true, true},
      {742.9, "<date>2020-01-01T00:00:00Z</date>", false, false, false},  // older generations do not read it
  };
  for (const auto& c : cases) {
    appKitVersion = c.appKit;
    write(kFinder, std::string("<key>ShowPathbar</key><true/>") + (*c.valueXml ? "<key>AnimateWindowZoom</key>" : "") +
                       c.valueXml);
    const std::string before = unit::readText(home.preference(kFinder));
    system.tasks.clear();
    openPane();
    EXPECT_EQ(pane->o_ZoomCheck->isEnabled(), c.enabled) << c.valueXml;
    EXPECT_EQ(pane->o_ZoomCheck->isChecked(), c.checked) << c.valueXml;
    EXPECT_EQ(system.tasks, c.repaired ? std::vector<Strings>{zoomTool("true")} : std::vector<Strings>()) << c.valueXml;
    EXPECT_EQ(unit::readText(home.preference(kFinder)), before) << "the page itself never writes this file";
  }
}

TEST_F(SystemPageTest, TheZoomCheckboxGoesBackWhenTheToolFailsAndTheLoadGoesOnWithoutIt) {
  write(kFinder, "<key>AnimateWindowZoom</key><array/>");
  system.taskFails = true;
  openPane();
  EXPECT_TRUE(pane->o_ZoomCheck->isChecked());
  EXPECT_NE(problemLine().find("could not run " + tool), npos) << problemLine();
  EXPECT_TRUE(page().o_prefWidth1->isChecked() && page().o_control->isChecked()) << "the crosshair page is filled last";
  system.taskFails = false;
  system.tasks.clear();
  pane->o_ZoomCheck->click();
  EXPECT_EQ(system.tasks, std::vector<Strings>{zoomTool("false")});
  system.taskExitStatus = 1;
  pane->o_ZoomCheck->click();
  EXPECT_FALSE(pane->o_ZoomCheck->isChecked()) << "nothing was stored";
  EXPECT_NE(problemLine().find("exit status 1"), npos) << problemLine();
}

TEST_F(SystemPageTest, TheRestartWaitsForTheFileManagerToLeaveThenStartsItOnce) {
  const platform::ApplicationDescription finder = {{"NSApplicationName", "Finder"}, {"pid", "40"}};
  // Only the exact name is the file manager.
  const std::vector<platform::ApplicationDescription> others = {
      {{"pid", "12"}}, {{"NSApplicationName", "finder"}}, {{"NSApplicationName", "Finder "}}, {{"NSApplicationPath", "Finder"}}};
  const struct {
    std::vector<std::vector<platform::ApplicationDescription>> lists;  // one per scan, the last ever after
    bool launchFails;
    size_t scans;
    std::chrono::milliseconds waited;
    const char* problem;
  } cases[] = {
      {{{finder}, {others[0], finder}, {finder, others[1]}, others}, false, 4, 300ms, ""},
      {{{finder}}, false, 101, 10s, "the file manager did not quit; not starting it again"},
      {{{}}, true, 1, 0ms, "could not start the file manager again: /System/Library/CoreServices/Finder.app is missing"},
  };
  openPane();
  system.scriptReply = "Finder got an error: Connection is invalid.";  // changes nothing: the list tells
  for (const auto& c : cases) {
    system.running = c.lists;
    system.launchFails = c.launchFails;
    system.scans = 0;
    system.time = {};
    system.scripts.clear();
    system.launched.clear();
    button("restartFinderButton")->click();
    EXPECT_EQ(system.scripts, Strings{vantrel::kFinderQuitScript});
    EXPECT_EQ(system.launched.size(), c.scans < 101 ? 1u : 0u) << c.problem;
    EXPECT_EQ(system.scans, c.scans);
    EXPECT_EQ(system.time.time_since_epoch(), c.waited) << c.problem;
    EXPECT_TRUE(problemLine().ends_with(c.problem)) << problemLine();
  }
}

}  // namespace
}  // namespace pane_test
