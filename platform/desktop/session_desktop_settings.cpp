// SPDX-License-Identifier: MIT
#include "platform/desktop/session_desktop_settings.h"

#include "platform/desktop/gio_desktop.h"
#include "platform/desktop/kde_config.h"
#include "platform/desktop/pointer_speed.h"
#include "platform/desktop/x11_pointer.h"
#include "platform/foundation/text.h"

namespace platform {

struct SessionDesktopSettings::Targets final : PointerSpeedTargets {
  explicit Targets(TaskRunner& taskRunner) : tasks(taskRunner) {}

  bool sessionBus() override { return gio::sessionBus(); }
  bool hasSchemaKey(const std::string& schema, const std::string& key) override {
    return gio::hasSchemaKey(schema, key);
  }
  Status setGSettingsDouble(const std::string& schema, const std::string& key, double value) override {
    return gio::setDouble(schema, key, value);
  }
  Status setXfconfAcceleration(double acceleration) override {
    // Without an X display only the devices the channel names are changed.
    std::vector<std::string> devices;
    if (auto listed = x11PointerDeviceNames())
      for (const std::string& name : *listed) devices.push_back(xfconfDeviceName(name));
    return gio::setXfconfAcceleration(acceleration, devices);
  }
  bool hasKdeConfigWriter() override { return kdeConfigWriter().has_value(); }
  Status writeKdeConfig(const std::string& file, const std::string& group, const std::string& key,
                        const std::string& value) override {
    auto writer = kdeConfigWriter();
    if (!writer) return fail("neither kwriteconfig6 nor kwriteconfig5 is installed");
    return platform::writeKdeConfig(tasks, *writer, file, group, key, value);
  }
  Status setKWinPointerAcceleration(double speed) override { return gio::setKWinPointerAcceleration(speed); }
  Status setX11PointerSpeed(double speed) override { return platform::setX11PointerSpeed(speed); }

  TaskRunner& tasks;
};

SessionDesktopSettings::SessionDesktopSettings(TaskRunner& tasks) : targets_(std::make_unique<Targets>(tasks)) {}
SessionDesktopSettings::~SessionDesktopSettings() = default;

// The session is read at each call: the pane lives as long as its window.
Status SessionDesktopSettings::setPointerSpeed(double speed) {
  return applyPointerSpeed(DesktopSession::fromEnvironment(), *targets_, speed);
}

Status SessionDesktopSettings::setScrollBarSteppers(const ScrollBarSteppers& steppers) {
  bool breezeChanged = false;
  Status written = writeScrollBarArrows(configHome(), DesktopSession::fromEnvironment(), steppers, breezeChanged);
  // Breeze programs that run now re-read the file; without a bus there are
  // none to tell, and the next ones read it anyway.
  if (written && breezeChanged && gio::sessionBus()) (void)gio::signalBreezeReparse();
  return written;
}

}  // namespace platform
