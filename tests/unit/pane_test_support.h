#pragma once
// The pane built with its real widgets under the offscreen platform, with
// recording stand-ins for processes and scripts, in a temporary home.
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "pane/pane_services.h"
#include "pane/retikon_control.h"
#include "pane/vantrel_pref_pref.h"
#include "platform/bus/notification_center.h"
#include "platform/plist/plist_dictionary.h"
#include "platform/process/script_runner.h"
#include "platform/process/task_runner.h"
#include "platform/process/workspace.h"
#include "settings/settings_record.h"
#include "temp_home.h"

namespace pane_test {

struct RecordingWorkspace : platform::Workspace {
  std::vector<std::string> launched;
  std::vector<std::string> settingsAtLaunch;  // the settings file's text when each launch came
  std::vector<platform::ApplicationDescription> running;
  bool launchApplication(const std::string& path) override;
  std::vector<platform::ApplicationDescription> launchedApplications() override { return running; }
};

struct RecordingScripts : platform::ScriptRunner {
  std::vector<std::string> sources;
  std::optional<std::string> execute(const std::string& source) override {
    sources.push_back(source);
    return std::nullopt;
  }
};

struct RecordingTasks : platform::TaskRunner {
  std::vector<std::vector<std::string>> runs;  // path, then the arguments
  bool fails = false;
  platform::TaskOutcome runAndWait(const std::string& path, const std::vector<std::string>& arguments) override;
};

struct InstantClock : vantrel::RestartClock {
  std::chrono::steady_clock::time_point time{};
  std::chrono::steady_clock::time_point now() override { return time; }
  void pause(std::chrono::milliseconds duration) override { time += duration; }
};

// Counts the files renamed into a folder: every atomic save is one.
class SaveCounter {
 public:
  explicit SaveCounter(const std::string& folder);
  ~SaveCounter() { close(fd_); }
  int saves(const std::string& fileName);

 private:
  int fd_;
};

class PaneTest : public ::testing::Test {
 protected:
  PaneTest();
  ~PaneTest() override;

  // Builds the pane and runs its load sequence, as the host does.
  void openPane();
  vantrel::RetikonControl& page() { return *pane->o_vantrelPane; }
  std::string settingsPath() const { return settings::settingsFilePath(); }
  // The settings file as written, or an empty dictionary when there is none.
  platform::PlistDictionary settingsFile() const;
  void writeSettings(const platform::PlistDictionary& file) const { file.writeFile(settingsPath()); }
  int saves() { return counter->saves("com.Halvix.RetikonX.plist"); }
  template <class T>
  T* child(const char* name) {
    return view->findChild<T*>(name);
  }

  TempHome home;
  settings::SettingsRecord record;
  vantrel::TweaksState tweaks;
  std::unique_ptr<platform::DistributedNotificationCenter> center = platform::DistributedNotificationCenter::defaultCenter();
  RecordingWorkspace workspace;
  RecordingTasks tasks;
  RecordingScripts scripts;
  InstantClock clock;
  double appKitVersion = 2487.0;
  std::unique_ptr<vantrel::VantrelPrefPref> pane;
  std::unique_ptr<QWidget> view;
  std::unique_ptr<SaveCounter> counter;
};

}  // namespace pane_test
