// The pane host's part that needs no display of its own: reading a bundle,
// and leaving the pane when its window closes.
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/pane_host/host_window.h"
#include "platform/pane_host/pane_bundle.h"
#include "test_home.h"

namespace {

TEST(PaneBundle, InfoPlistNamesTheClassAndTheLibrary) {
  unit::TempHome home;
  auto bundle = home.path() / "Some.prefPane";
  std::filesystem::create_directories(bundle / "Contents");
  auto read = [&](const std::string& dict) {
    unit::writeText(bundle / "Contents" / "Info.plist", "<plist version=\"1.0\"><dict>" + dict + "</dict></plist>");
    return platform::readPaneBundle(bundle.string());
  };
  auto good = read("<key>NSPrincipalClass</key><string>SomePref</string><key>CFBundleExecutable</key><string>Some</string>");
  ASSERT_TRUE(good.ok());
  EXPECT_EQ(good->principalClass, "SomePref");
  EXPECT_EQ(good->executable, (bundle / "Contents/MacOS/Some").string());

  for (const char* broken : {"<key>CFBundleExecutable</key><string>Some</string>",
                             "<key>NSPrincipalClass</key><string>a b</string><key>CFBundleExecutable</key><string>S</string>",
                             "<key>NSPrincipalClass</key><string>P</string><key>CFBundleExecutable</key><string>../x</string>"})
    EXPECT_FALSE(read(broken).ok()) << broken;
  auto missing = read("<key>NSPrincipalClass</key><string>P</string><key>CFBundleExecutable</key><string>Missing</string>");
  ASSERT_TRUE(missing.ok());
  EXPECT_FALSE(platform::instantiatePrincipalClass(*missing).ok());
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
