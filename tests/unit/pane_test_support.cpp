#include "pane_test_support.h"

#include <QColorDialog>

#include "platform/foundation/atomic_file.h"
#include "platform/pane_host/colour_panel.h"

namespace pane_test {
namespace {

// One application object for the whole test program, gone before exit.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "pane_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] auto* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

bool RecordingWorkspace::launchApplication(const std::string& path) {
  launched.push_back(path);
  settingsAtLaunch.push_back(platform::readWholeFile(settings::settingsFilePath()).value_or(""));
  return true;
}

platform::TaskOutcome RecordingTasks::runAndWait(const std::string& path, const std::vector<std::string>& arguments) {
  std::vector<std::string> run{path};
  run.insert(run.end(), arguments.begin(), arguments.end());
  runs.push_back(run);
  platform::TaskOutcome outcome;
  if (fails) {
    outcome.error = path + ": No such file or directory";
  } else {
    outcome.started = true;
    outcome.exitStatus = 0;
  }
  return outcome;
}

SaveCounter::SaveCounter(const std::string& folder) {
  fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  // The temporaries' creations keep the kernel from merging one rename
  // into the identical rename before it.
  inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO | IN_CREATE);
}

int SaveCounter::saves(const std::string& fileName) {
  int count = 0;
  alignas(inotify_event) char buffer[4096];
  ssize_t length;
  while ((length = read(fd_, buffer, sizeof buffer)) > 0) {
    for (char* at = buffer; at < buffer + length;) {
      auto* event = reinterpret_cast<inotify_event*>(at);
      if ((event->mask & IN_MOVED_TO) && event->len > 0 && fileName == event->name) ++count;
      at += sizeof(inotify_event) + event->len;
    }
  }
  return count;
}

PaneTest::PaneTest() : counter(std::make_unique<SaveCounter>(home.preferences().string())) {}

PaneTest::~PaneTest() {
  platform::sharedColorPanel()->hide();
  view.reset();
}

void PaneTest::openPane() {
  pane = std::make_unique<vantrel::VantrelPrefPref>(vantrel::PaneServices{
      record, tweaks, *center, workspace, tasks, scripts, clock, "/usr/bin/defaults", appKitVersion});
  ASSERT_TRUE(pane->initWithBundle((home.path() / "Vantrel.prefPane").string()));
  view.reset(pane->loadMainView());
  pane->mainViewDidLoad();
}

platform::PlistDictionary PaneTest::settingsFile() const {
  return platform::PlistDictionary::readFile(settingsPath()).value_or(platform::PlistDictionary());
}

}  // namespace pane_test
