// The pane host's part that needs no display of its own: reading a bundle,
// and leaving the pane when its window closes.
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/pane_host/host_window.h"
#include "platform/pane_host/pane_bundle.h"
#include "process_test_support.h"

namespace {

TEST(PaneBundle, InfoPlistNamesTheClassAndTheLibrary) {
  process_test::TempFolder folder;
  auto bundle = folder.path() / "Some.prefPane";
  std::filesystem::create_directories(bundle / "Contents");
  auto write = [&](const std::string& dict) {
    std::ofstream(bundle / "Contents" / "Info.plist") << "<plist version=\"1.0\"><dict>" << dict << "</dict></plist>";
  };
  write("<key>NSPrincipalClass</key><string>SomePref</string><key>CFBundleExecutable</key><string>Some</string>");
  auto read = platform::readPaneBundle(bundle.string());
  ASSERT_TRUE(std::holds_alternative<platform::PaneBundleInfo>(read));
  EXPECT_EQ(std::get<platform::PaneBundleInfo>(read).principalClass, "SomePref");
  EXPECT_EQ(std::get<platform::PaneBundleInfo>(read).executable, (bundle / "Contents/MacOS/Some").string());

  for (const char* broken : {"<key>CFBundleExecutable</key><string>Some</string>",
                             "<key>NSPrincipalClass</key><string>a b</string><key>CFBundleExecutable</key><string>S</string>",
                             "<key>NSPrincipalClass</key><string>P</string><key>CFBundleExecutable</key><string>../x</string>"}) {
    write(broken);
    EXPECT_TRUE(std::holds_alternative<platform::BundleError>(platform::readPaneBundle(bundle.string()))) << broken;
  }
  write("<key>NSPrincipalClass</key><string>P</string><key>CFBundleExecutable</key><string>Missing</string>");
  auto missing = platform::instantiatePrincipalClass(std::get<platform::PaneBundleInfo>(platform::readPaneBundle(bundle.string())));
  EXPECT_TRUE(std::holds_alternative<platform::BundleError>(missing));
}

TEST(HostWindow, ClosingTheWindowLeavesThePaneOnce) {
  int argc = 1;
  char name[] = "pane_host_tests";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  int left = 0;
  platform::HostWindow window(new QWidget, [&left] { ++left; });
  window.show();
  window.close();
  EXPECT_EQ(left, 1);
}

}  // namespace
