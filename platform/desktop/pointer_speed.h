// SPDX-License-Identifier: MIT
#pragma once
// Setting the pointer speed of the running desktop. The speed is libinput's:
// -1 (slowest) to 1 (fastest), 0 each desktop's own default.
#include <string>
#include <string_view>

#include "platform/desktop/desktop_session.h"
#include "platform/foundation/result.h"

namespace platform {

inline constexpr const char* kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";
inline constexpr const char* kGnomeTouchpadSchema = "org.gnome.desktop.peripherals.touchpad";
inline constexpr const char* kGnomeSpeedKey = "speed";

// The places a desktop keeps its pointer speed, one call each, so the
// choice among them can be tried without a desktop.
class PointerSpeedTargets {
 public:
  virtual ~PointerSpeedTargets() = default;
  virtual bool sessionBus() = 0;
  // Asking for a schema that is not installed would abort the program.
  virtual bool hasSchemaKey(const std::string& schema, const std::string& key) = 0;
  virtual Status setGSettingsDouble(const std::string& schema, const std::string& key, double value) = 0;
  // Xfce: "Acceleration" of every device the "pointers" channel knows, and
  // of every pointer the X server lists, made the way Xfce's own mouse
  // settings make it (a fresh account's channel names none).
  virtual Status setXfconfAcceleration(double acceleration) = 0;
  // False when neither kwriteconfig6 nor kwriteconfig5 is installed.
  virtual bool hasKdeConfigWriter() = 0;
  virtual Status writeKdeConfig(const std::string& file, const std::string& group, const std::string& key,
                                const std::string& value) = 0;
  // KWin's input devices on Wayland: "pointerAcceleration" of each pointer.
  virtual Status setKWinPointerAcceleration(double speed) = 0;
  // "libinput Accel Speed" on every pointer that has it, the core pointer
  // acceleration for the others.
  virtual Status setX11PointerSpeed(double speed) = 0;
};

// Xfce's acceleration, 0.1 to 10 with 5 as its neutral value.
double xfceAcceleration(double speed);

// An X input device's name as Xfce's settings name its properties in the
// "pointers" channel: blanks as underscores, letters, digits, "_" and "-"
// kept, everything else left out.
std::string xfconfDeviceName(std::string_view deviceName);

// Sets the speed everywhere the session keeps it: GSettings on GNOME,
// ubuntu and Budgie (with a session bus, for each schema installed),
// xfconf on Xfce, kcminputrc (and KWin on Wayland) on KDE, then the X
// server itself on every X11 session so it shows at once. Every target is
// tried; the failures are returned together, and so is a session where no
// target applies.
Status applyPointerSpeed(const DesktopSession& session, PointerSpeedTargets& targets, double speed);

}  // namespace platform
