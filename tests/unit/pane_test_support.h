#pragma once
// The pane built with its real widgets under the offscreen platform, with a
// recording stand-in for processes and scripts, in a temporary home.
#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QPushButton>
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
#include "test_home.h"

namespace pane_test {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
inline constexpr size_t npos = std::string::npos;

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

// The names of the buttons among these that are checked, each followed by a blank.
inline std::string checkedNames(const std::vector<QWidget*>& controls) {
  std::string names;
  for (QWidget* control : controls)
    if (auto* button = qobject_cast<QAbstractButton*>(control); button && button->isChecked())
      names += button->objectName().toStdString() + " ";
  return names;
}

class PaneTest : public ::testing::Test {
 protected:
  ~PaneTest() override {
    platform::sharedColorPanel()->hide();
    view.reset();
  }

  // Builds the pane and runs its load sequence, as the host does.
  void openPane(fs::path bundle = {}) {
    if (bundle.empty()) bundle = home.path() / "Vantrel.prefPane";
    pane = std::make_unique<vantrel::VantrelPrefPref>(
        vantrel::PaneServices{record, tweaks, *center, system, system, system, system, system, appKitVersion});
    ASSERT_TRUE(pane->initWithBundle(bundle.string()));
    view.reset(pane->loadMainView());
    pane->mainViewDidLoad();
  }
  vantrel::RetikonControl& page() { return *pane->o_vantrelPane; }
  QPushButton* button(const char* name) { return view->findChild<QPushButton*>(name); }
  // What the window's problem line shows; nothing while it is hidden.
  std::string problemLine() {
    auto* line = view->findChild<QLabel*>("problemLine");
    return line->isHidden() ? "" : line->text().toStdString();
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
  unit::FakeSystem system;
  double appKitVersion = 2487.0;
  std::unique_ptr<vantrel::VantrelPrefPref> pane;
  std::unique_ptr<QWidget> view;
};

}  // namespace pane_test
