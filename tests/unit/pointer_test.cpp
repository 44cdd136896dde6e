// The overlay's pointer source for each kind of session, and the input the
// tick reads from it.
#include <gtest/gtest.h>

#include <string>

#include "platform/pointer/pointer_choice.h"
#include "platform/pointer/tick_input.h"

namespace {

using platform::PointerSourceKind;

TEST(PointerChoice, X11AsksTheServerAndWaylandDesktopsWithoutASourceSayWhy) {
  const struct {
    const char *desktop, *type, *display, *waylandDisplay;
    PointerSourceKind kind;
    const char* named;  // in the reason
  } cases[] = {
      {"GNOME", "x11", ":0", nullptr, PointerSourceKind::XServer, ""},
      {nullptr, nullptr, ":0", nullptr, PointerSourceKind::XServer, ""},  // startx
      {"sway", "wayland", ":0", "wayland-1", PointerSourceKind::None, "(sway)"},
      {"weston", nullptr, ":1", "wayland-0", PointerSourceKind::None, "(weston)"},  // WAYLAND_DISPLAY alone
      {nullptr, "wayland", ":0", nullptr, PointerSourceKind::None, "XDG_CURRENT_DESKTOP is not set"},
      {"KDE", "x11", ":0", "wayland-0", PointerSourceKind::None, "KWin"},  // Wayland whatever the type says
      {"ubuntu:GNOME", "wayland", ":0", "wayland-0", PointerSourceKind::None, "GNOME on Xorg"},
  };
  for (const auto& c : cases) {
    auto choice = platform::choosePointerSource(platform::DesktopSession::from(c.desktop, c.type, c.display,
                                                                                c.waylandDisplay));
    EXPECT_EQ(choice.kind, c.kind) << (c.desktop ? c.desktop : "none");
    if (c.kind == PointerSourceKind::None) {
      EXPECT_NE(choice.whyNone.find(c.named), std::string::npos) << choice.whyNone;
      EXPECT_NE(choice.whyNone.find("hidden"), std::string::npos) << choice.whyNone;
    }
  }
}

class FakeSource : public platform::PointerSource {
 public:
  std::optional<platform::PointerReading> read() override {
    ++reads;
    return reading;
  }
  const std::string& whyUnknown() const override { return why; }

  std::optional<platform::PointerReading> reading;
  std::string why = "no compositor";
  int reads = 0;
};

TEST(TickInput, AsksItsSourceOncePerTickAndSaysEachNewReasonForAnUnknownPointerOnce) {
  FakeSource source;
  platform::TickInput input(source);
  source.reading = platform::PointerReading{{300, 700}, 0x1100};
  input.startTick();
  EXPECT_TRUE(input.pointerKnown());
  EXPECT_EQ(input.getMouse(), (platform::Point{300, 700}));
  EXPECT_EQ(input.getCurrentKeyModifiers(), 0x1100u);
  EXPECT_EQ(source.reads, 1);

  // Gone: no position or key from the last reading survives, and the reason is said once.
  source.reading.reset();
  testing::internal::CaptureStderr();
  for (int tick = 0; tick < 3; ++tick) {
    input.startTick();
    EXPECT_FALSE(input.pointerKnown());
    EXPECT_EQ(input.getMouse(), platform::Point{});
    EXPECT_EQ(input.getCurrentKeyModifiers(), 0u);
  }
  source.why = "extension not loaded";
  input.startTick();
  EXPECT_FALSE(input.pointerKnown());
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(source.reads, 5);
  EXPECT_EQ(said.find("no compositor"), said.rfind("no compositor")) << said;
  EXPECT_NE(said.find("no compositor\n"), std::string::npos) << said;
  EXPECT_NE(said.find("extension not loaded\n"), std::string::npos) << said;
}

}  // namespace
