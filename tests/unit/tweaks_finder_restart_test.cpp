#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pane/tweaks/finder_restart.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using platform::ApplicationDescription;
using Applications = std::vector<ApplicationDescription>;

const ApplicationDescription kFinder = {{"NSApplicationName", "Finder"}, {"pid", "40"}};
const ApplicationDescription kMail = {{"NSApplicationName", "Mail"}};
const ApplicationDescription kNameless = {{"pid", "12"}};

class RecordingScripts : public platform::ScriptRunner {
 public:
  std::optional<std::string> execute(const std::string& source) override {
    sources.push_back(source);
    events.push_back("script");
    return "Finder got an error: Connection is invalid.";
  }
  std::vector<std::string> sources;
  std::vector<std::string> events;
};

// Serves the scripted lists in turn, the last one for ever after.
class FakeWorkspace : public platform::Workspace {
 public:
  explicit FakeWorkspace(std::vector<Applications> lists, std::vector<std::string>& events)
      : lists_(std::move(lists)), events_(events) {}
  bool launchApplication(const std::string& path) override {
    launches.push_back(path);
    events_.push_back("launch");
    return launchSucceeds;
  }
  Applications launchedApplications() override {
    events_.push_back("scan");
    return lists_[std::min(scans++, lists_.size() - 1)];
  }
  std::vector<std::string> launches;
  size_t scans = 0;
  bool launchSucceeds = true;

 private:
  std::vector<Applications> lists_;
  std::vector<std::string>& events_;
};

class FakeClock : public RestartClock {
 public:
  explicit FakeClock(std::vector<std::string>& events) : events_(events) {}
  std::chrono::steady_clock::time_point now() override { return time; }
  void pause(std::chrono::milliseconds duration) override {
    time += duration;
    events_.push_back("pause");
  }
  std::chrono::steady_clock::time_point time{};

 private:
  std::vector<std::string>& events_;
};

class TweaksFinderRestart : public ::testing::Test {
 protected:
  RestartOutcome restart(std::vector<Applications> lists) {
    workspace_.emplace(std::move(lists), scripts_.events);
    return restartFinder(scripts_, *workspace_, clock_);
  }
  RecordingScripts scripts_;
  FakeClock clock_{scripts_.events};
  std::optional<FakeWorkspace> workspace_;
};

TEST_F(TweaksFinderRestart, NotListedIsLaunchedAtOnce) {
  EXPECT_EQ(restart({{kMail}}), RestartOutcome::Relaunched);
  EXPECT_EQ(scripts_.sources, std::vector<std::string>{"tell application \"Finder\" to quit"});
  EXPECT_EQ(workspace_->launches, std::vector<std::string>{"/System/Library/CoreServices/Finder.app"});
  EXPECT_EQ(scripts_.events, (std::vector<std::string>{"script", "scan", "launch"}));
}

TEST_F(TweaksFinderRestart, ScansFreshListsUntilItLeavesThenLaunchesOnce) {
  EXPECT_EQ(restart({{kMail, kFinder}, {kFinder}, {kNameless, kFinder, kMail}, {kMail}}), RestartOutcome::Relaunched);
  EXPECT_EQ(scripts_.events,
            (std::vector<std::string>{"script", "scan", "pause", "scan", "pause", "scan", "pause", "scan", "launch"}));
  EXPECT_EQ(workspace_->launches.size(), 1u);
}

TEST_F(TweaksFinderRestart, OnlyTheExactNameMatches) {
  EXPECT_FALSE(finderIsListed({kNameless, {{"NSApplicationName", "finder"}}, {{"NSApplicationName", "Finder "}},
                               {{"NSApplicationPath", "Finder"}}}));
  EXPECT_TRUE(finderIsListed({kNameless, kFinder}));
  EXPECT_FALSE(finderIsListed({}));
}

TEST_F(TweaksFinderRestart, FileManagerThatNeverQuitsEndsTheWaitWithoutALaunch) {
  ::testing::internal::CaptureStderr();
  RestartOutcome outcome = restart({{kFinder}});
  const std::string report = ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(outcome, RestartOutcome::StillRunning);
  EXPECT_TRUE(workspace_->launches.empty());
  EXPECT_EQ(clock_.time.time_since_epoch(), 10s);
  EXPECT_EQ(workspace_->scans, 101u);
  EXPECT_NE(report.find("did not quit"), std::string::npos) << report;
}

TEST_F(TweaksFinderRestart, FailedLaunchIsReported) {
  workspace_.emplace(std::vector<Applications>{{}}, scripts_.events);
  workspace_->launchSucceeds = false;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(restartFinder(scripts_, *workspace_, clock_), RestartOutcome::LaunchFailed);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("could not start"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
