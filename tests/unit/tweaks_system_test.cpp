// The system generation, the stored placement names, the file manager's zoom
// setting and its restart, and what the page's choices change on each desktop.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_system.h"
#include "pane/tweaks/desktop_effects.h"
#include "pane/tweaks/finder_zoom.h"
#include "pane/tweaks/scroll_bar_placement.h"
#include "pane/tweaks/system_generation.h"
#include "pane/tweaks/system_tweaks.h"
#include "platform/desktop/pointer_speed.h"
#include "platform/foundation/appkit_version.h"
#include "test_home.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

TEST(TweaksGeneration, RoundsDownAndSplitsAtEachThreshold) {
  const std::pair<double, int32_t> cases[] = {{743.0, 3}, {742.9, 2}, {663.0, 2}, {662.5, 1},     {620.0, 1},
                                              {619.9, 0}, {0.0, 0},   {-INFINITY, 0}, {NAN, 3},
                                              {platform::NSAppKitVersionNumber, 3}};
  for (auto [version, generation] : cases) EXPECT_EQ(versionCheck(version), generation) << version;
}

TEST(TweaksScrollBarPlacement, StoredValuesMatchExactly) {
  for (ScrollBarPlacement placement : kScrollBarPlacements)
    EXPECT_EQ(placementFromStoredValue(storedValue(placement)), placement);
  for (const char* text : {"single", "DoubleMax ", ""}) EXPECT_EQ(placementFromStoredValue(text), std::nullopt);
}

const std::string kTool = "/opt/test/defaults";
const Strings kWriteTrue = {kTool, "write", "com.apple.finder", "AnimateWindowZoom", "-bool", "true"};
const Strings kWriteFalse = {kTool, "write", "com.apple.finder", "AnimateWindowZoom", "-bool", "false"};

class TweaksFinderZoom : public ::testing::Test {
 protected:
  std::string file() const { return home.preference("com.apple.finder.plist"); }
  // The file manager's preference file holding this as the zoom key; an
  // empty text leaves the key out.
  void writeFinderValue(const std::string& valueXml) {
    unit::writeText(file(), "<plist version=\"1.0\"><dict><key>ShowPathbar</key><true/>" +
                                (valueXml.empty() ? "" : "<key>AnimateWindowZoom</key>" + valueXml) + "</dict></plist>");
  }
  ZoomCheckboxDisplay load(int32_t generation = 3) {
    state.osVersion = generation;
    loadFinderPreferences(state);
    return loadZoomCheckbox(state, system, kTool, system);
  }

  unit::TempHome home;
  TweaksState state;
  unit::FakeSystem system;
};

TEST_F(TweaksFinderZoom, OlderGenerationDisablesWithoutReading) {
  writeFinderValue("<date>2020-01-01T00:00:00Z</date>");
  for (int32_t generation : {0, 1, 2}) {
    ZoomCheckboxDisplay display = load(generation);
    EXPECT_TRUE(display.disable);
    EXPECT_EQ(display.checked, std::nullopt);
  }
  EXPECT_TRUE(system.tasks.empty());
}

TEST_F(TweaksFinderZoom, ReadableValuesAreShownAndOthersRepairedOnceThroughTheTool) {
  EXPECT_EQ(load().checked, false) << "no file";
  EXPECT_EQ(state.records2, std::nullopt);
  EXPECT_EQ(state.recordsFile2, file());
  const struct {
    const char* valueXml;
    bool checked, repaired;
  } cases[] = {{"<true/>", true, false},  {"<false/>", false, false},   {"", false, false},
               {"<array/>", true, true}, {"<data>AAE=</data>", true, true}, {"<date>2020-01-01T00:00:00Z</date>", true, true}};
  for (const auto& c : cases) {
    writeFinderValue(c.valueXml);
    const std::string before = unit::readText(file());
    system.tasks.clear();
    ZoomCheckboxDisplay display = load();
    EXPECT_FALSE(display.disable);
    EXPECT_EQ(display.checked, c.checked) << c.valueXml;
    EXPECT_EQ(system.tasks, c.repaired ? std::vector<Strings>{kWriteTrue} : std::vector<Strings>{}) << c.valueXml;
    EXPECT_EQ(unit::readText(file()), before) << "the page itself never writes this file";
  }
}

TEST_F(TweaksFinderZoom, ToolThatCannotStartOrFailsIsReportedAndTheLoadGoesOn) {
  writeFinderValue("<array/>");
  system.taskFails = true;
  EXPECT_EQ(load().checked, true);
  ASSERT_EQ(system.problems.size(), 1u);
  EXPECT_NE(system.problems[0].find(kTool), std::string::npos);
  EXPECT_EQ(system.tasks.size(), 1u);

  auto notRun = setFinderZoom(1, system, kTool);
  ASSERT_FALSE(notRun);
  EXPECT_NE(notRun.error().find("could not run"), std::string::npos);
  system.taskFails = false;
  system.taskExitStatus = 1;
  auto refused = setFinderZoom(0, system, kTool);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().find("exit status 1"), std::string::npos);
}

TEST_F(TweaksFinderZoom, ActionRunsTheToolWithTheCheckboxState) {
  for (int checkboxState : {1, 0, -1}) EXPECT_TRUE(setFinderZoom(checkboxState, system, kTool));  // -1: mixed
  EXPECT_EQ(system.tasks, (std::vector{kWriteTrue, kWriteFalse, kWriteTrue}));
}

const platform::ApplicationDescription kFinder = {{"NSApplicationName", "Finder"}, {"pid", "40"}};
const platform::ApplicationDescription kMail = {{"NSApplicationName", "Mail"}};
const platform::ApplicationDescription kNameless = {{"pid", "12"}};

class TweaksFinderRestart : public ::testing::Test {
 protected:
  TweaksFinderRestart() { system.scriptReply = "Finder got an error: Connection is invalid."; }
  RestartOutcome restart(std::vector<std::vector<platform::ApplicationDescription>> lists) {
    system.running = std::move(lists);
    RestartOutcome outcome = restartFinder(system, system, system, system);
    for (const std::string& problem : system.problems) report += problem + "\n";
    return outcome;
  }
  unit::FakeSystem system;
  std::string report;
};

TEST_F(TweaksFinderRestart, NotListedIsLaunchedAtOnce) {
  EXPECT_EQ(restart({{kMail}}), RestartOutcome::Relaunched);
  EXPECT_EQ(system.scripts, Strings{"tell application \"Finder\" to quit"});
  EXPECT_EQ(system.launched, Strings{"/System/Library/CoreServices/Finder.app"});
  EXPECT_EQ(system.events, (Strings{"script", "scan", "launch"}));
}

TEST_F(TweaksFinderRestart, ScansFreshListsUntilItLeavesThenLaunchesOnce) {
  EXPECT_EQ(restart({{kMail, kFinder}, {kFinder}, {kNameless, kFinder, kMail}, {kMail}}), RestartOutcome::Relaunched);
  EXPECT_EQ(system.events, (Strings{"script", "scan", "pause", "scan", "pause", "scan", "pause", "scan", "launch"}));
}

TEST_F(TweaksFinderRestart, OnlyTheExactNameMatches) {
  EXPECT_FALSE(finderIsListed({kNameless, {{"NSApplicationName", "finder"}}, {{"NSApplicationName", "Finder "}},
                               {{"NSApplicationPath", "Finder"}}}));
  EXPECT_TRUE(finderIsListed({kNameless, kFinder}));
  EXPECT_FALSE(finderIsListed({}));
}

TEST_F(TweaksFinderRestart, FileManagerThatNeverQuitsEndsTheWaitWithoutALaunch) {
  EXPECT_EQ(restart({{kFinder}}), RestartOutcome::StillRunning);
  EXPECT_TRUE(system.launched.empty());
  EXPECT_EQ(system.time.time_since_epoch(), 10s);
  EXPECT_EQ(system.scans, 101u);
  EXPECT_NE(report.find("did not quit"), std::string::npos) << report;
}

TEST_F(TweaksFinderRestart, FailedLaunchIsReported) {
  system.launchFails = true;
  EXPECT_EQ(restart({{}}), RestartOutcome::LaunchFailed);
  EXPECT_NE(report.find("could not start the file manager again: /System/Library/CoreServices/Finder.app is missing"),
            std::string::npos)
      << report;
}

// Records what would change where; each target can be missing or refuse.
struct FakeTargets : platform::PointerSpeedTargets {
  bool sessionBus() override { return bus; }
  bool hasSchemaKey(const std::string&, const std::string& key) override { return schemas && key == "speed"; }
  platform::Status setGSettingsDouble(const std::string& schema, const std::string&, double value) override {
    return record(schema.substr(schema.rfind('.') + 1), value);
  }
  platform::Status setXfconfAcceleration(double acceleration) override { return record("xfconf", acceleration); }
  bool hasKdeConfigWriter() override { return kdeWriter; }
  platform::Status writeKdeConfig(const std::string& file, const std::string& group, const std::string& key,
                                  const std::string& value) override {
    calls.push_back(file + " " + group + " " + key + " " + value);
    return {};
  }
  platform::Status setKWinPointerAcceleration(double speed) override { return record("kwin", speed); }
  platform::Status setX11PointerSpeed(double speed) override { return record("x11", speed); }
  platform::Status record(const std::string& target, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %.3f", target.c_str(), value);
    calls.push_back(text);
    if (target == refusing) return platform::fail(target + " refused");
    return {};
  }
  bool bus = true, schemas = true, kdeWriter = true;
  std::string refusing;
  Strings calls;
};

TEST(TweaksDesktopPointerSpeed, EachSessionSetsItsOwnTargetsWithTheDefaultOnTheirDefault) {
  const struct {
    const char *desktop, *type;
    float scaling;
    bool bus, schemas;
    Strings calls;
    bool ok;
  } cases[] = {
      {"GNOME", "x11", 1.7f, true, true, {"mouse 0.000", "touchpad 0.000", "x11 0.000"}, true},
      {"ubuntu:GNOME", "wayland", 0.0f, true, true, {"mouse -1.000", "touchpad -1.000"}, true},
      {"Budgie:GNOME", "wayland", 3.0f, true, true, {"mouse 1.000", "touchpad 1.000"}, true},
      {"GNOME", "wayland", 0.85f, true, false, {}, false},  // schema missing
      {"GNOME", "x11", 2.35f, false, true, {"x11 0.500"}, true},  // no bus: GSettings would store nothing
      {"XFCE", "x11", 1.7f, true, true, {"xfconf 5.000", "x11 0.000"}, true},
      {"XFCE", "x11", 0.0f, true, true, {"xfconf 0.100", "x11 -1.000"}, true},
      {"KDE", "x11", 3.0f, true, true, {"kcminputrc Mouse XLbInptPointerAcceleration 1.000", "x11 1.000"}, true},
      {"KDE", "wayland", 0.85f, true, true, {"kcminputrc Mouse XLbInptPointerAcceleration -0.500", "kwin -0.500"}, true},
      {"", "", 1.7f, true, true, {"x11 0.000"}, true},  // a bare window manager: only DISPLAY
      {"sway", "wayland", 1.7f, true, true, {}, false},
  };
  for (const auto& c : cases) {
    FakeTargets targets;
    targets.bus = c.bus;
    targets.schemas = c.schemas;
    auto session = platform::DesktopSession::from(c.desktop, c.type, ":0");
    auto applied = platform::applyPointerSpeed(session, targets, desktopPointerSpeed(c.scaling));
    EXPECT_EQ(targets.calls, c.calls) << c.desktop << " " << c.type << " " << c.scaling;
    EXPECT_EQ(applied.ok(), c.ok) << c.desktop << " " << c.type;
  }
  FakeTargets targets;
  targets.refusing = "mouse";
  auto applied = platform::applyPointerSpeed(platform::DesktopSession::from("GNOME", "x11", ":0"), targets, 0.25);
  EXPECT_EQ(targets.calls.size(), 3u) << "the other targets are still set";
  ASSERT_FALSE(applied);
  EXPECT_NE(applied.error().find("mouse refused"), std::string::npos);
}

class TweaksDesktop : public ::testing::Test {
 protected:
  void open() { (void)tweaks.mainViewDidLoad(); }
  unit::TempHome home;
  TweaksState state;
  unit::FakeSystem system;
  SystemTweaks tweaks{state, {system, system, system, system, system, system}};
};

TEST_F(TweaksDesktop, ChangesFollowSavesOnlyAndRefusalsAreReported) {
  unit::writeText(home.preference(".GlobalPreferences.plist"), "<plist version=\"1.0\"><dict/></plist>");
  home.saves(".GlobalPreferences.plist");
  open();
  EXPECT_EQ(home.saves(".GlobalPreferences.plist"), 3) << "the load stored its defaults";
  EXPECT_TRUE(system.desktop.empty()) << "and changed nothing on the desktop";

  tweaks.a_slider(0.85f);
  for (ScrollBarPlacement placement : kScrollBarPlacements) tweaks.a_scrollBar(placement);
  EXPECT_EQ(system.desktop, (Strings{"speed -0.500000", "arrows 1100", "arrows 1001", "arrows 0110", "arrows 1111"}));
  EXPECT_TRUE(system.problems.empty());

  system.desktopFails = "this desktop offers no way to set the pointer speed";
  tweaks.a_slider(1.0f);
  EXPECT_EQ(system.problems, Strings{"this desktop offers no way to set the pointer speed"});

  unit::writeText(home.preference(".GlobalPreferences.plist"), "no longer a property list");
  system.desktop.clear();
  system.problems.clear();
  tweaks.a_slider(2.0f);
  tweaks.a_scrollBar(ScrollBarPlacement::Single);
  EXPECT_TRUE(system.desktop.empty()) << "nothing saved, nothing applied";
  ASSERT_EQ(system.problems.size(), 2u);
  EXPECT_EQ(system.problems[0].rfind("pointer speed not saved: ", 0), 0u) << system.problems[0];
}

}  // namespace
}  // namespace vantrel
