// SPDX-License-Identifier: MIT
// Where each desktop takes the pointer speed.
#include <gtest/gtest.h>

#include "pane/tweaks/desktop_effects.h"
#include "platform/desktop/pointer_speed.h"

namespace vantrel {
namespace {

using Strings = std::vector<std::string>;

// Records what would change where; each target can be missing or refuse.
struct FakeTargets : platform::PointerSpeedTargets {
  bool sessionBus() override { return bus; }
  bool hasSchemaKey(const std::string&, const std::string& key) override { return schemas && key == "speed"; }
  platform::Status setGSettingsDouble(const std::string& schema, const std::string&, double v) override {
    return record(schema.substr(schema.rfind('.') + 1), v);
  }
  platform::Status setXfconfAcceleration(double acceleration) override { return record("xfconf", acceleration); }
  bool hasKdeConfigWriter() override { return true; }
  platform::Status writeKdeConfig(const std::string& file, const std::string& group, const std::string& key,
                                  const std::string& value) override {
    return record(file + " " + group + " " + key + " " + value);
  }
  platform::Status setKWinPointerAcceleration(double speed) override { return record("kwin", speed); }
  platform::Status setX11PointerSpeed(double speed) override { return record("x11", speed); }
  platform::Status record(const std::string& target, std::optional<double> value = std::nullopt) {
    char text[16] = "";
    if (value) std::snprintf(text, sizeof text, " %.3f", *value);
    calls.push_back(target + text);
    return target == refusing ? platform::Status(platform::fail(target + " refused")) : platform::Status();
  }
  bool bus = true, schemas = true;
  std::string refusing;
  Strings calls;
};

TEST(TweaksDesktopPointerSpeed, EachSessionSetsItsOwnTargetsWithTheDefaultOnTheirDefault) {
  // The session, the stored scaling, what the targets offer, then what is set where and the error (empty: none).
  const struct { const char *desktop, *type; float scaling; bool bus, schemas; const char* refusing; Strings calls;
                 const char* error; } cases[] = {
      {"GNOME", "x11", 1.7f, true, true, "mouse", {"mouse 0.000", "touchpad 0.000", "x11 0.000"}, "mouse refused"},
      {"ubuntu:GNOME", "wayland", 0.0f, true, true, "", {"mouse -1.000", "touchpad -1.000"}, ""},
      {"GNOME", "wayland", 0.85f, true, false, "", {}, "no way"},  // schema missing
      {"GNOME", "x11", 2.35f, false, true, "", {"x11 0.500"}, ""},  // no bus: GSettings would store nothing
      {"XFCE", "x11", 1.7f, true, true, "", {"xfconf 5.000", "x11 0.000"}, ""},
      {"XFCE", "x11", 0.0f, true, true, "", {"xfconf 0.100", "x11 -1.000"}, ""},
      {"KDE", "wayland", 0.85f, true, true, "", {"kcminputrc Mouse XLbInptPointerAcceleration -0.500", "kwin -0.500"}, ""},
      {"", "", 1.7f, true, true, "", {"x11 0.000"}, ""},  // a bare window manager: only DISPLAY
      {"sway", "wayland", 1.7f, true, true, "", {}, "no way"},
  };
  for (const auto& c : cases) {
    FakeTargets targets;
    targets.bus = c.bus;
    targets.schemas = c.schemas;
    targets.refusing = c.refusing;
    auto applied = platform::applyPointerSpeed(platform::DesktopSession::from(c.desktop, c.type, ":0"), targets,
                                               desktopPointerSpeed(c.scaling));
    EXPECT_EQ(targets.calls, c.calls) << c.desktop << " " << c.type << " " << c.scaling;
    const std::string error = applied.ok() ? "" : applied.error();
    EXPECT_TRUE(*c.error ? error.find(c.error) != std::string::npos : applied.ok()) << c.desktop << " " << error;
  }
  // A fresh Xfce account's devices get their properties under the names Xfce's own settings give them
  // (blanks: pane_desktop_test.py).
  EXPECT_EQ(platform::xfconfDeviceName("SynPS/2 Synaptics TouchPad"), "SynPS2_Synaptics_TouchPad");
}

}  // namespace
}  // namespace vantrel
