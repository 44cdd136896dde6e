// SPDX-License-Identifier: MIT
#pragma once
// The pane built with its real widgets under the offscreen platform, in a temporary home, with one stand-in
// for processes, scripts, the restart clock and the desktop that records every request and fails as told.
#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include "pane/retikon_control.h"
#include "pane/vantrel_pref_pref.h"
#include "platform/bus/notification_center.h"
#include "platform/desktop/overlay_pointer_setup.h"
#include "platform/pane_host/colour_panel.h"
#include "test_home.h"

namespace pane_test {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using Applications = std::vector<platform::ApplicationDescription>;
inline constexpr size_t npos = std::string::npos;

struct FakeSystem : platform::Workspace, platform::ScriptRunner, platform::TaskRunner, platform::WaitClock,
                    platform::DesktopSettings, platform::OverlayPointerSetup {
  platform::Status launchApplication(const std::string& path) override {
    if (onLaunch) onLaunch();
    return answer(launched, path, launchFails ? std::optional(path + " is missing") : std::nullopt);
  }
  Applications launchedApplications() override { return running[std::min(scans++, running.size() - 1)]; }
  platform::Status execute(const std::string& source) override { return answer(scripts, source, scriptReply); }
  platform::Result<int> runAndWait(const std::string& path, const std::vector<std::string>& arguments) override {
    tasks.push_back(path);
    for (const std::string& argument : arguments) tasks.back() += " " + argument;
    if (taskFails) return platform::fail(path + ": No such file or directory");
    return taskExitStatus;
  }
  std::chrono::steady_clock::time_point now() override { return time; }
  void pause(std::chrono::milliseconds duration) override { time += duration; }
  platform::Status setPointerSpeed(double speed) override {
    return answer(desktop, "speed " + std::to_string(speed), desktopFails);
  }
  // "arrows 1100": backward, forward, secondary backward, secondary forward.
  platform::Status setScrollBarSteppers(const platform::ScrollBarSteppers& s) override {
    return answer(desktop, std::string("arrows ") + "01"[s.backward] + "01"[s.forward] + "01"[s.secondaryBackward] +
                               "01"[s.secondaryForward], desktopFails);
  }
  platform::Result<std::string> prepareOverlayPointer(const std::string& paneBundle) override {
    pointerPrepared.push_back(paneBundle);
    if (pointerFails) return platform::fail(*pointerFails);
    return pointerNotice;
  }
  std::string heldKeysLimit() override { return keysLimit; }
  static platform::Status answer(Strings& log, const std::string& request, const std::optional<std::string>& failure) {
    log.push_back(request);
    if (failure) return platform::fail(*failure);
    return {};
  }

  Strings launched, scripts, desktop, tasks;  // a task as its path and arguments
  Strings pointerPrepared;                    // the pane bundles given
  std::string pointerNotice;                  // what the desktop asks of the user
  std::optional<std::string> pointerFails;
  std::string keysLimit;                      // what hot-key mode cannot do on this desktop
  std::vector<Applications> running{{}};  // one per scan, the last ever after
  size_t scans = 0;
  std::function<void()> onLaunch;
  std::optional<std::string> scriptReply, desktopFails;  // the failure each answers with
  bool launchFails = false, taskFails = false;
  int taskExitStatus = 0;
  std::chrono::steady_clock::time_point time{};
};

// One application object for the whole test program, gone before exit.
class QtEnvironment : public ::testing::Environment {
  int argc_ = 1;
  char name_[16] = "pane_tests", *argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;

 public:
  void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }
};

[[maybe_unused]] inline auto* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// The names of the buttons among these that are checked, each followed by a blank.
inline std::string checkedNames(const std::vector<QAbstractButton*>& buttons) {
  std::string names;
  for (QAbstractButton* button : buttons) names += button->isChecked() ? button->objectName().toStdString() + " " : "";
  return names;
}

class PaneTest : public ::testing::Test {
 protected:
  ~PaneTest() override { platform::sharedColorPanel()->hide(); }

  // Builds the pane and runs its load sequence, as the host does.
  void openPane(fs::path bundle = {}) {
    pane = std::make_unique<vantrel::VantrelPrefPref>(
        vantrel::PaneServices{record, tweaks, *center, system, system, system, system, system, system, appKitVersion});
    ASSERT_TRUE(pane->initWithBundle((bundle.empty() ? home.path() / "Vantrel.prefPane" : bundle).string()));
    view.reset(pane->loadMainView());
    pane->mainViewDidLoad();
  }
  vantrel::RetikonControl& page() { return *pane->o_vantrelPane; }
  QAbstractButton* button(const char* name) { return view->findChild<QAbstractButton*>(name); }
  // What the window's problem lines show, without the breaks allowed in paths; nothing while hidden.
  std::string problemLine() {
    auto* line = view->findChild<QLabel*>("problemLine");
    return line->isHidden() ? "" : line->text().remove(QChar(0x200B)).toStdString();
  }
  // A preferences file as written, or an empty dictionary when there is none.
  platform::PlistDictionary read(const std::string& name) const {
    return platform::PlistDictionary::readFile(home.preference(name)).value_or(platform::PlistDictionary());
  }
  // A preferences file as another program leaves it; that is no save of the pane's.
  void write(const std::string& name, const std::string& entries) {
    unit::writeText(home.preference(name), "<plist version=\"1.0\"><dict>" + entries + "</dict></plist>");
    home.saves(name);
  }
  int saves() { return home.saves("com.Halvix.RetikonX.plist"); }

  unit::TempHome home;
  settings::SettingsRecord record;
  vantrel::TweaksState tweaks;
  std::unique_ptr<platform::DistributedNotificationCenter> center = platform::DistributedNotificationCenter::defaultCenter();
  FakeSystem system;
  double appKitVersion = 2487.0;
  std::unique_ptr<vantrel::VantrelPrefPref> pane;
  std::unique_ptr<QWidget> view;
};

}  // namespace pane_test
