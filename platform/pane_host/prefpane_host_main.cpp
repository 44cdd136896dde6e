// SPDX-License-Identifier: MIT
// prefpane-host PATH.prefPane: the settings application for one pane. Loads
// the bundle, shows the pane's main view in a window, and tells the pane
// when its view has loaded and when the window closes.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include <QApplication>

#include "platform/foundation/log.h"
#include "platform/foundation/text.h"
#include "platform/pane_host/desktop_theme.h"
#include "platform/pane_host/display_check.h"
#include "platform/pane_host/host_window.h"
#include "platform/pane_host/pane_bundle.h"
#include "project_version.h"

namespace {

int fail(const std::string& message) {
  platform::logLine(message);
  return 1;
}

}  // namespace

constexpr const char* kUsage =
    "usage: prefpane-host PATH.prefPane | --help | --version\n"
    "Opens the settings pane in the bundle at PATH in a window of its own, for\n"
    "example ~/Library/PreferencePanes/Vantrel.prefPane.\n";

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("prefpane-host %s\n", kProjectVersion);
    return 0;
  }
  const bool help = argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
  if (argc != 2 || help) {
    std::fputs(kUsage, help ? stdout : stderr);
    return help ? 0 : 2;
  }
  // Absolute, so what the pane starts and registers from its bundle is found
  // from anywhere, whatever folder the host was started in.
  std::error_code error;
  const std::string bundlePath = std::filesystem::absolute(argv[1], error).lexically_normal().string();
  if (auto home = platform::homeFolder(); !home) return fail(home.error());
  auto bundle = platform::readPaneBundle(bundlePath);
  if (!bundle) return fail(bundle.error());
  const platform::PaneBundleInfo& info = *bundle;
  if (auto display = platform::checkDisplay(); !display) return fail(display.error());

  platform::useDesktopTheme();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromStdString(info.label));
  // Docks and task switchers match the window to the menu entry of that name.
  if (!info.identifier.empty()) QGuiApplication::setDesktopFileName(QString::fromStdString(info.identifier));

  auto created = platform::instantiatePrincipalClass(info);
  if (!created) return fail(created.error());
  std::unique_ptr<platform::NSPreferencePane> pane = std::move(created).value();
  if (!pane || !pane->initWithBundle(bundlePath)) return fail(bundlePath + ": the pane did not initialise");
  QWidget* mainView = pane->loadMainView();
  if (!mainView) return fail(bundlePath + ": the pane has no main view");

  // The window owns the main view and goes before the pane object does.
  // The pane's own windows (its colour panel) must not keep the program
  // alive once the settings window has gone.
  QApplication::setQuitOnLastWindowClosed(false);
  platform::HostWindow window(mainView, [&pane] {
    pane->didUnselect();
    QApplication::quit();
  });
  window.setWindowTitle(QString::fromStdString(info.label));
  window.show();
  pane->mainViewDidLoad();
  return application.exec();
}
