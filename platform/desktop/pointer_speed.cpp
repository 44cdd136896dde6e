// SPDX-License-Identifier: MIT
#include "platform/desktop/pointer_speed.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace platform {
namespace {

std::string decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

class Outcome {
 public:
  void add(Status status) {
    applied_ = applied_ || status.ok();
    if (!status) problems_ += (problems_.empty() ? "" : "; ") + status.error();
  }
  Status result() const {
    if (!problems_.empty()) return fail("pointer speed not fully applied: " + problems_);
    if (!applied_) return fail("this desktop offers no way to set the pointer speed");
    return {};
  }

 private:
  bool applied_ = false;
  std::string problems_;
};

}  // namespace

double xfceAcceleration(double speed) { return std::clamp(5.0 + 5.0 * speed, 0.1, 10.0); }

std::string xfconfDeviceName(std::string_view deviceName) {
  std::string name;
  for (char c : deviceName) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')
      name += c;
    else if (c == ' ')
      name += '_';
  }
  return name;
}

Status applyPointerSpeed(const DesktopSession& session, PointerSpeedTargets& targets, double speed) {
  speed = std::clamp(speed, -1.0, 1.0);
  Outcome outcome;
  // Without a bus nothing would store the value, though GIO says it did.
  if (session.isGnome() && targets.sessionBus()) {
    for (const char* schema : {kGnomeMouseSchema, kGnomeTouchpadSchema})
      if (targets.hasSchemaKey(schema, kGnomeSpeedKey))
        outcome.add(targets.setGSettingsDouble(schema, kGnomeSpeedKey, speed));
  }
  if (session.isXfce() && targets.sessionBus()) outcome.add(targets.setXfconfAcceleration(xfceAcceleration(speed)));
  if (session.isKde()) {
    // What KDE's own settings read back, and what it applies at the next login.
    if (targets.hasKdeConfigWriter())
      outcome.add(targets.writeKdeConfig("kcminputrc", "Mouse", "XLbInptPointerAcceleration", decimal(speed)));
    if (session.wayland && targets.sessionBus()) outcome.add(targets.setKWinPointerAcceleration(speed));
  }
  if (session.x11) outcome.add(targets.setX11PointerSpeed(speed));
  return outcome.result();
}

}  // namespace platform
