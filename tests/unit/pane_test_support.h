#pragma once
// The pane built with its real widgets under the offscreen platform, with a
// recording stand-in for processes and scripts, in a temporary home.
#include <QApplication>
#include <QColorDialog>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "fake_system.h"
#include "pane/pane_services.h"
#include "pane/retikon_control.h"
#include "pane/vantrel_pref_pref.h"
#include "platform/bus/notification_center.h"
#include "platform/pane_host/colour_panel.h"
#include "platform/plist/plist_dictionary.h"
#include "settings/settings_record.h"
#include "test_home.h"

namespace pane_test {

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

[[maybe_unused]] inline auto* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class PaneTest : public ::testing::Test {
 protected:
  ~PaneTest() override {
    platform::sharedColorPanel()->hide();
    view.reset();
  }

  // Builds the pane and runs its load sequence, as the host does.
  void openPane(std::filesystem::path bundle = {}) {
    if (bundle.empty()) bundle = home.path() / "Vantrel.prefPane";
    pane = std::make_unique<vantrel::VantrelPrefPref>(vantrel::PaneServices{
        record, tweaks, *center, system, system, system, system, system, appKitVersion});
    ASSERT_TRUE(pane->initWithBundle(bundle.string()));
    view.reset(pane->loadMainView());
    pane->mainViewDidLoad();
  }
  vantrel::RetikonControl& page() { return *pane->o_vantrelPane; }
  std::string settingsPath() const { return settings::settingsFilePath(); }
  // The settings file as written, or an empty dictionary when there is none.
  platform::PlistDictionary settingsFile() const {
    return platform::PlistDictionary::readFile(settingsPath()).value_or(platform::PlistDictionary());
  }
  // Writes the settings file; that is no save of the page's.
  void writeSettings(const platform::PlistDictionary& file) {
    ASSERT_TRUE(file.writeFile(settingsPath()));
    saves();
  }
  int saves() { return home.saves("com.Halvix.RetikonX.plist"); }
  template <class T>
  T* child(const char* name) {
    return view->findChild<T*>(name);
  }

  unit::TempHome home;
  settings::SettingsRecord record;
  vantrel::TweaksState tweaks;
  std::unique_ptr<platform::DistributedNotificationCenter> center = platform::DistributedNotificationCenter::defaultCenter();
  unit::FakeSystem system;
  double appKitVersion = 2487.0;
  std::unique_ptr<vantrel::VantrelPrefPref> pane;
  std::unique_ptr<QWidget> view;
};

}  // namespace pane_test
