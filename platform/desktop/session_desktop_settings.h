// SPDX-License-Identifier: MIT
#pragma once
#include <memory>

#include "platform/desktop/desktop_settings.h"
#include "platform/process/task_runner.h"

namespace platform {

// The desktop this process runs on, as its environment names it, reached
// through GIO (GSettings, D-Bus), the KDE config writer and the X server.
class SessionDesktopSettings final : public DesktopSettings {
 public:
  explicit SessionDesktopSettings(TaskRunner& tasks);
  ~SessionDesktopSettings() override;

  Status setPointerSpeed(double speed) override;
  Status setScrollBarSteppers(const ScrollBarSteppers& steppers) override;

 private:
  struct Targets;
  std::unique_ptr<Targets> targets_;
};

}  // namespace platform
