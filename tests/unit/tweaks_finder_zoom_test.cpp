#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pane/tweaks/finder_zoom.h"
#include "tweaks_test_support.h"

namespace vantrel {
namespace {

using testing::TemporaryHome;
using testing::writeText;

const std::string kTool = "/opt/test/defaults";
const std::vector<std::string> kWriteTrue = {"write", "com.apple.finder", "AnimateWindowZoom", "-bool", "true"};
const std::vector<std::string> kWriteFalse = {"write", "com.apple.finder", "AnimateWindowZoom", "-bool", "false"};

struct ToolRun {
  std::string path;
  std::vector<std::string> arguments;
  bool operator==(const ToolRun&) const = default;
};

class RecordingTaskRunner : public platform::TaskRunner {
 public:
  platform::TaskOutcome runAndWait(const std::string& path, const std::vector<std::string>& arguments) override {
    runs.push_back({path, arguments});
    if (!toolExists) return {.started = false, .exitStatus = -1, .error = "No such file or directory"};
    return {.started = true, .exitStatus = 0, .error = ""};
  }
  std::vector<ToolRun> runs;
  bool toolExists = true;
};

class TweaksFinderZoom : public ::testing::Test {
 protected:
  // The file manager's preference file holding value as the zoom key.
  void writeFinderValue(const std::string& valueXml) {
    writeText(home_.preferencesFile("com.apple.finder.plist"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
              "<key>ShowPathbar</key><true/><key>AnimateWindowZoom</key>" +
                  valueXml + "</dict></plist>");
  }

  ZoomCheckboxDisplay load(int32_t generation = 3) {
    state_.osVersion = generation;
    loadFinderPreferences(state_);
    return loadZoomCheckbox(state_, tasks_, kTool);
  }

  TemporaryHome home_;
  TweaksState state_;
  RecordingTaskRunner tasks_;
};

TEST_F(TweaksFinderZoom, OlderGenerationDisablesWithoutReading) {
  writeFinderValue("<date>2020-01-01T00:00:00Z</date>");
  for (int32_t generation : {0, 1, 2}) {
    ZoomCheckboxDisplay display = load(generation);
    EXPECT_TRUE(display.disable);
    EXPECT_EQ(display.checked, std::nullopt);
  }
  EXPECT_TRUE(tasks_.runs.empty());
}

TEST_F(TweaksFinderZoom, ReadableValuesAreShownWithoutRunningTheTool) {
  EXPECT_EQ(load().checked, false) << "no file";
  EXPECT_EQ(state_.records2, std::nullopt);
  EXPECT_EQ(state_.recordsFile2, home_.preferencesFile("com.apple.finder.plist"));

  writeFinderValue("<true/>");
  ZoomCheckboxDisplay on = load();
  EXPECT_FALSE(on.disable);
  EXPECT_EQ(on.checked, true);

  writeFinderValue("<false/>");
  EXPECT_EQ(load().checked, false);

  writeText(home_.preferencesFile("com.apple.finder.plist"),
            "<plist version=\"1.0\"><dict><key>ShowPathbar</key><true/></dict></plist>");
  EXPECT_EQ(load().checked, false) << "key absent";

  EXPECT_TRUE(tasks_.runs.empty());
}

TEST_F(TweaksFinderZoom, ValueWithNoBooleanReadingIsRepairedOnce) {
  const std::string file = home_.preferencesFile("com.apple.finder.plist");
  writeFinderValue("<date>2020-01-01T00:00:00Z</date>");
  const std::string before = testing::fileText(file);

  EXPECT_EQ(load().checked, true);

  EXPECT_EQ(tasks_.runs, (std::vector<ToolRun>{{kTool, kWriteTrue}}));
  EXPECT_EQ(testing::fileText(file), before) << "the page itself never writes this file";
}

TEST_F(TweaksFinderZoom, ToolThatCannotStartIsReportedAndTheLoadGoesOn) {
  writeFinderValue("<array/>");
  tasks_.toolExists = false;
  ::testing::internal::CaptureStderr();
  ZoomCheckboxDisplay display = load();
  const std::string report = ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(display.checked, true);
  EXPECT_EQ(tasks_.runs.size(), 1u);
  EXPECT_NE(report.find(kTool), std::string::npos) << report;
}

TEST_F(TweaksFinderZoom, ActionRunsTheToolWithTheCheckboxState) {
  setFinderZoom(1, tasks_, kTool);
  setFinderZoom(0, tasks_, kTool);
  setFinderZoom(-1, tasks_, kTool);  // mixed
  EXPECT_EQ(tasks_.runs, (std::vector<ToolRun>{{kTool, kWriteTrue}, {kTool, kWriteFalse}, {kTool, kWriteTrue}}));

  tasks_.toolExists = false;
  ::testing::internal::CaptureStderr();
  setFinderZoom(1, tasks_, kTool);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("could not run"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
