// The system generation, the stored placement names, the file manager's zoom
// setting and its restart.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_system.h"
#include "pane/tweaks/finder_zoom.h"
#include "pane/tweaks/scroll_bar_placement.h"
#include "pane/tweaks/system_generation.h"
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
    return loadZoomCheckbox(state, system, kTool);
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

TEST_F(TweaksFinderZoom, ToolThatCannotStartIsReportedAndTheLoadGoesOn) {
  writeFinderValue("<array/>");
  system.taskFails = true;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(load().checked, true);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(kTool), std::string::npos);
  EXPECT_EQ(system.tasks.size(), 1u);

  ::testing::internal::CaptureStderr();
  setFinderZoom(1, system, kTool);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("could not run"), std::string::npos);
}

TEST_F(TweaksFinderZoom, ActionRunsTheToolWithTheCheckboxState) {
  for (int checkboxState : {1, 0, -1}) setFinderZoom(checkboxState, system, kTool);  // -1: mixed
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
    ::testing::internal::CaptureStderr();
    RestartOutcome outcome = restartFinder(system, system, system);
    report = ::testing::internal::GetCapturedStderr();
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
  EXPECT_NE(report.find("could not start"), std::string::npos) << report;
}

}  // namespace
}  // namespace vantrel
