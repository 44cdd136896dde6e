// SPDX-License-Identifier: MIT
// The pane host's part that needs no display of its own: reading a bundle,
// the theme it asks for, waiting while the window is served, and leaving
// the pane when its window closes.
#include <QTimer>

#include "pane_test_support.h"
#include "platform/pane_host/desktop_theme.h"
#include "platform/pane_host/event_loop_clock.h"
#include "platform/pane_host/host_window.h"
#include "platform/pane_host/pane_bundle.h"

namespace pane_test {
namespace {

TEST(PaneBundle, InfoPlistNamesTheClassAndTheLibrary) {
  unit::TempHome home;
  const auto bundle = home.path() / "Some.prefPane";
  auto read = [&](const std::string& dict) {
    unit::writeText(bundle / "Contents/Info.plist", "<plist version=\"1.0\"><dict>" + dict + "</dict></plist>");
    return platform::readPaneBundle(bundle.string());
  };
  auto good = read("<key>NSPrincipalClass</key><string>SomePref</string><key>CFBundleExecutable</key><string>Some</string>"
                   "<key>CFBundleIdentifier</key><string>com.Halvix.Some</string>");
  ASSERT_TRUE(good.ok());
  EXPECT_EQ(good->principalClass + " " + good->executable + " " + good->identifier,
            "SomePref " + (bundle / "Contents/MacOS/Some").string() + " com.Halvix.Some");  // the menu entry's name
  for (const char* broken : {"<key>CFBundleExecutable</key><string>Some</string>",
                             "<key>NSPrincipalClass</key><string>a b</string><key>CFBundleExecutable</key><string>S</string>",
                             "<key>NSPrincipalClass</key><string>P</string><key>CFBundleExecutable</key><string>../x</string>"})
    EXPECT_FALSE(read(broken).ok()) << broken;
}

TEST(DesktopTheme, GtkDesktopsGetTheGtkThemeWhenInstalledUnlessTheUserChoseOne) {
  const struct { const char *desktop, *chosen; bool installed; std::optional<std::string> theme; } cases[] = {
      {"ubuntu:GNOME", nullptr, true, "gtk3"}, {"XFCE", "", true, "gtk3"}, {"X-Cinnamon", nullptr, true, "gtk3"},
      {"MATE", nullptr, true, "gtk3"}, {"XFCE", nullptr, false, std::nullopt}, {"GNOME", "kde", true, std::nullopt},
      {"KDE", nullptr, true, std::nullopt}, {"", nullptr, true, std::nullopt}};
  for (const auto& c : cases)
    EXPECT_EQ(platform::platformThemeFor(platform::DesktopSession::from(c.desktop, "x11", ":0"), c.chosen, c.installed),
              c.theme) << c.desktop;
}

TEST(EventLoopClock, TheWindowIsServedWhileItsThreadWaits) {
  platform::EventLoopClock clock;
  bool served = false;
  QTimer::singleShot(0, [&served] { served = true; });
  const auto start = clock.now();
  clock.pause(std::chrono::milliseconds(50));
  EXPECT_TRUE(served);
  EXPECT_GE(clock.now() - start, std::chrono::milliseconds(50));
}

TEST(HostWindow, ClosingTheWindowLeavesThePaneOnce) {
  int left = 0;
  platform::HostWindow window(new QWidget, [&left] { ++left; });
  window.show();
  window.close();
  EXPECT_EQ(left, 1);
}

}  // namespace
}  // namespace pane_test
