#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pane/tweaks/system_tweaks.h"
#include "tweaks_test_support.h"

namespace vantrel {
namespace {

using testing::readPlist;
using testing::SaveCounter;
using testing::TemporaryHome;
using testing::writeText;

class CountingTasks : public platform::TaskRunner {
 public:
  platform::TaskOutcome runAndWait(const std::string& path, const std::vector<std::string>&) override {
    paths.push_back(path);
    return {.started = false, .exitStatus = -1, .error = "missing"};
  }
  std::vector<std::string> paths;
};

class NoScripts : public platform::ScriptRunner {
 public:
  std::optional<std::string> execute(const std::string&) override { return std::nullopt; }
};

class EmptyWorkspace : public platform::Workspace {
 public:
  bool launchApplication(const std::string&) override { return true; }
  std::vector<platform::ApplicationDescription> launchedApplications() override { return {}; }
};

class TweaksLoadSequence : public ::testing::Test {
 protected:
  SystemTweaks tweaks(double appKitVersionNumber = platform::NSAppKitVersionNumber) {
    return SystemTweaks(state_, {.tasks = tasks_,
                                 .scripts = scripts_,
                                 .workspace = workspace_,
                                 .clock = clock_,
                                 .appKitVersionNumber = appKitVersionNumber});
  }
  std::string globalPath() const { return home_.preferencesFile(".GlobalPreferences.plist"); }

  TemporaryHome home_;
  TweaksState state_;
  CountingTasks tasks_;
  NoScripts scripts_;
  EmptyWorkspace workspace_;
  SteadyRestartClock clock_;
};

TEST_F(TweaksLoadSequence, FirstLoadFillsEverythingAndReturnsDespiteAMissingTool) {
  writeText(globalPath(), "<plist version=\"1.0\"><dict><key>AppleLocale</key><string>en_GB</string></dict></plist>");
  writeText(home_.preferencesFile("com.apple.finder.plist"),
            "<plist version=\"1.0\"><dict><key>AnimateWindowZoom</key><data>AAE=</data></dict></plist>");
  SaveCounter counter(home_.preferencesFolder(), ".GlobalPreferences.plist");

  ::testing::internal::CaptureStderr();
  TweaksDisplay display = tweaks().mainViewDidLoad();
  ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(state_.osVersion, 3);
  EXPECT_EQ(display.placement, ScrollBarPlacement::Single);
  EXPECT_EQ(display.slider, 1.7f);
  EXPECT_FALSE(display.zoom.disable);
  EXPECT_EQ(display.zoom.checked, true);
  EXPECT_EQ(tasks_.paths, std::vector<std::string>{kDefaultsToolPath});
  EXPECT_EQ(counter.saves(), 3);
  EXPECT_EQ(readPlist(globalPath()).string("AppleLocale"), "en_GB");
}

TEST_F(TweaksLoadSequence, OlderSystemDisablesTheZoomCheckbox) {
  TweaksDisplay display = tweaks(742.9).mainViewDidLoad();
  EXPECT_EQ(state_.osVersion, 2);
  EXPECT_TRUE(display.zoom.disable);
  EXPECT_EQ(display.zoom.checked, std::nullopt);
  EXPECT_TRUE(tasks_.paths.empty());
}

}  // namespace
}  // namespace vantrel
