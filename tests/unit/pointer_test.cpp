// SPDX-License-Identifier: MIT
// The overlay's pointer source for each kind of session, and the input the
// tick reads from it.
#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>
#include <thread>

#include "platform/event/event_loop.h"
#include "platform/event/systemd_owners.h"
#include "platform/pointer/gnome_shell_pointer.h"
#include "platform/pointer/kwin_script_pointer.h"
#include "platform/pointer/pointer_choice.h"
#include "platform/pointer/tick_input.h"
#include "test_home.h"

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
      {"weston", nullptr, ":1", "wayland-0", PointerSourceKind::None, "(weston)"},  // WAYLAND_DISPLAY alone
      {nullptr, "wayland", ":0", nullptr, PointerSourceKind::None, "XDG_CURRENT_DESKTOP is not set"},
      {"KDE", "x11", ":0", "wayland-0", PointerSourceKind::KWinScript, ""},  // Wayland whatever the type says
      {"ubuntu:GNOME", "wayland", ":0", "wayland-0", PointerSourceKind::GnomeShell, ""},
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
  const std::string& modifiersCaveat() const override { return caveat; }

  std::optional<platform::PointerReading> reading;
  std::string why = "no compositor";
  std::string caveat;
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

  // Gone: unknown, and each new reason is said once.
  source.reading.reset();
  testing::internal::CaptureStderr();
  for (int tick = 0; tick < 3; ++tick) {
    input.startTick();
    EXPECT_FALSE(input.pointerKnown());
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

// A service's connection to a private session bus, under its well-known
// name, served from a thread of its own once its objects are in place, as
// the real service from its own process. Declared last in its owner, it
// stops serving before what its objects use goes away.
class ServedBus {
 public:
  ServedBus(const std::string& address, const char* name) {
    sd_bus_new(platform::outPointer(bus_));
    sd_bus_set_address(bus_.get(), address.c_str());
    sd_bus_set_bus_client(bus_.get(), 1);
    named_ = sd_bus_start(bus_.get()) >= 0 && sd_bus_request_name(bus_.get(), name, 0) >= 0;
  }
  ServedBus(const ServedBus&) = delete;
  ServedBus& operator=(const ServedBus&) = delete;
  ~ServedBus() {
    stop_ = true;
    if (serving_.joinable()) serving_.join();
  }

  sd_bus* get() const { return bus_.get(); }
  bool named() const { return named_; }
  // afterProcessing runs on the serving thread each time the messages that came have been handled.
  void serve(std::function<void()> afterProcessing = [] {}) {
    serving_ = std::thread([this, afterProcessing = std::move(afterProcessing)] {
      while (!stop_) {
        while (sd_bus_process(bus_.get(), nullptr) > 0) {}
        afterProcessing();
        sd_bus_wait(bus_.get(), 20'000);
      }
    });
  }
  bool serving() const { return serving_.joinable(); }

 private:
  platform::OwnedBus bus_;
  bool named_ = false;
  std::atomic<bool> stop_ = false;
  std::thread serving_;
};

// A private session bus, and a loop whose runOnce returns soon.
struct BusAndLoop {
  BusAndLoop() { EXPECT_TRUE(bus.running() && loop.addRepeatingTimer(std::chrono::milliseconds(10), [] {}).ok()); }
  unit::TempHome home;
  unit::PrivateSessionBus bus{home.path()};
  platform::EventLoop loop;
};

// The primary screen starts 50 to the right of the compositor's origin.
platform::Point fromCompositor(int32_t x, int32_t y) {
  return platform::Point{static_cast<int16_t>(y), static_cast<int16_t>(x - 50)};
}

// GNOME Shell with the pointer extension.
class StandInShell {
 public:
  explicit StandInShell(const std::string& address) : bus_(address, "org.gnome.Shell") {
    if (!bus_.named()) return;
    sd_bus_add_object_vtable(bus_.get(), platform::outPointer(extension_), kPath, kInterface, kVtable, this);
    bus_.serve([this] {
      if (announce_.exchange(false))
        sd_bus_emit_signal(bus_.get(), kPath, kInterface, "PointerChanged", "iiu", 760, 330, 1u << 0);
      if (turnOff_.exchange(false)) extension_.reset();
    });
  }
  bool serving() const { return bus_.serving(); }
  // The pointer moves to (760, 330) with Shift held; said from the shell's own thread.
  void announce() { moved_ = announce_ = true; }
  // The user turns the extension off.
  void turnOff() { turnOff_ = true; }

 private:
  static constexpr const char* kPath = "/com/Halvix/RetikonX/Pointer";
  static constexpr const char* kInterface = "com.Halvix.RetikonX.Pointer";
  // At first the pointer is at (750, 320) on the stage; Control, Super and Num Lock (Mod2) held.
  static int getPointer(sd_bus_message* call, void* self, sd_bus_error*) {
    if (static_cast<StandInShell*>(self)->moved_) return sd_bus_reply_method_return(call, "iiu", 760, 330, 1u << 0);
    return sd_bus_reply_method_return(call, "iiu", 750, 320, (1u << 2) | (1u << 26) | (1u << 4));
  }
  static constexpr sd_bus_vtable kVtable[] = {SD_BUS_VTABLE_START(0),
                                              SD_BUS_METHOD("GetPointer", "", "iiu", getPointer, 0),
                                              SD_BUS_VTABLE_END};
  std::atomic<bool> moved_ = false, announce_ = false, turnOff_ = false;
  platform::OwnedBusSlot extension_;
  ServedBus bus_;  // last: it stops serving first
};

TEST(GnomeShellPointer, AsksTheExtensionOnceThenKeepsWhatItAnnounces) {
  BusAndLoop session;
  auto& loop = session.loop;
  platform::GnomeShellPointerSource source(loop, fromCompositor);
  EXPECT_FALSE(source.read());
  EXPECT_NE(source.whyUnknown().find("log out and back in once"), std::string::npos) << source.whyUnknown();

  StandInShell shell(session.bus.address());
  ASSERT_TRUE(shell.serving());
  // Where it is and which keys are held, asked and announced: wayland_gnome_test.py and the table below.
  ASSERT_TRUE(unit::waitFor([&] { return loop.runOnce(), source.read().has_value(); })) << source.whyUnknown();
  shell.announce();
  ASSERT_TRUE(unit::waitFor([&] { return loop.runOnce(), source.read()->pointer == platform::Point{330, 710}; }));

  // Turned off, the extension says nothing more: the pointer is soon unknown, not frozen.
  shell.turnOff();
  EXPECT_TRUE(unit::waitFor([&] { return loop.runOnce(), !source.read(); }));
  EXPECT_NE(source.whyUnknown().find("log out and back in once"), std::string::npos) << source.whyUnknown();
}

TEST(GnomeShellPointer, MapsClutterModifiersIntoTheSettingsLayout) {
  const std::pair<uint32_t, uint32_t> cases[] = {{0, 0},           {1u << 0, 0x0200}, {1u << 1, 0x0400},
                                                 {1u << 2, 0x1000}, {1u << 3, 0x0800}, {1u << 6, 0x0100},
                                                 {1u << 26, 0x0100}, {(1u << 4) | (1u << 8) | (1u << 28), 0}};
  for (auto [clutter, mask] : cases) EXPECT_EQ(platform::modifiersFromClutter(clutter), mask) << clutter;
}

// KWin with its scripting, on a private session bus, from its own thread:
// it records what the overlay asks, and a script it runs reports the pointer.
class StandInKWin {
 public:
  StandInKWin(const std::string& address, int32_t loadAnswer)
      : loadAnswer_(loadAnswer), bus_(address, "org.kde.KWin") {
    if (!bus_.named()) return;
    sd_bus_add_object_vtable(bus_.get(), nullptr, "/Scripting", "org.kde.kwin.Scripting", kScripting, this);
    sd_bus_add_object_vtable(bus_.get(), nullptr, "/7", "org.kde.kwin.Script", kScript, this);
    bus_.serve([this] {
      if (int32_t x = reportX_.exchange(-1); x >= 0)
        sd_bus_call_method_async(bus_.get(), nullptr, "com.Halvix.RetikonX", "/com/Halvix/RetikonX/Pointer",
                                 "com.Halvix.RetikonX.Pointer", "PointerMoved", nullptr, nullptr, "ii", x, 320);
    });
  }
  bool serving() const { return bus_.serving(); }
  // The running script reports the pointer at (x, 320).
  void movePointer(int32_t x) { reportX_ = x; }
  std::vector<std::string> calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  void record(std::string call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
  }
  static int loadScript(sd_bus_message* call, void* self, sd_bus_error*) {
    auto* kwin = static_cast<StandInKWin*>(self);
    const char *file = nullptr, *plugin = nullptr;
    sd_bus_message_read(call, "ss", &file, &plugin);
    kwin->record(std::string("load ") + file + " " + plugin);
    return sd_bus_reply_method_return(call, "i", kwin->loadAnswer_);
  }
  static int unloadScript(sd_bus_message* call, void* self, sd_bus_error*) {
    const char* plugin = nullptr;
    sd_bus_message_read(call, "s", &plugin);
    static_cast<StandInKWin*>(self)->record(std::string("unload ") + plugin);
    return sd_bus_reply_method_return(call, "b", 1);
  }
  static int run(sd_bus_message* call, void* self, sd_bus_error*) {
    auto* kwin = static_cast<StandInKWin*>(self);
    kwin->record("run");
    kwin->reportX_ = 750;  // the script's first report, where the pointer rests
    return sd_bus_reply_method_return(call, "");
  }
  static constexpr sd_bus_vtable kScripting[] = {
      SD_BUS_VTABLE_START(0), SD_BUS_METHOD("loadScript", "ss", "i", loadScript, 0),
      SD_BUS_METHOD("unloadScript", "s", "b", unloadScript, 0), SD_BUS_VTABLE_END};
  static constexpr sd_bus_vtable kScript[] = {SD_BUS_VTABLE_START(0), SD_BUS_METHOD("run", "", "", run, 0),
                                              SD_BUS_VTABLE_END};
  const int32_t loadAnswer_;
  std::atomic<int32_t> reportX_ = -1;
  std::mutex mutex_;
  std::vector<std::string> calls_;
  ServedBus bus_;  // last: it stops serving first
};

std::unique_ptr<FakeSource> xServerKeys(uint32_t modifiers) {
  auto keys = std::make_unique<FakeSource>();
  keys->reading = platform::PointerReading{{1, 1}, modifiers};
  return keys;
}

std::optional<platform::PointerReading> readWhenReported(platform::EventLoop& loop,
                                                         platform::KWinScriptPointerSource& source, int16_t h) {
  std::optional<platform::PointerReading> reading;
  unit::waitFor([&] {
    loop.runOnce();
    reading = source.read();
    return reading && reading->pointer.h == h;
  });
  return reading;
}

TEST(KWinScriptPointer, RunsTheScriptKeepsWhatItReportsAndUnloadsItAtTheEndAndLoadsItForANewKWin) {
  BusAndLoop session;
  auto& loop = session.loop;
  auto kwin = std::make_unique<StandInKWin>(session.bus.address(), 7);
  ASSERT_TRUE(kwin->serving());
  {
    platform::KWinScriptPointerSource source(loop, "/bundle/kwin.js", xServerKeys(0x1000), nullptr, fromCompositor);
    auto reading = readWhenReported(loop, source, 700);
    ASSERT_TRUE(reading) << source.whyUnknown();
    EXPECT_EQ(reading->pointer, (platform::Point{320, 700}));
    EXPECT_EQ(reading->modifiers, 0x1000u) << "the X server's keys";
    EXPECT_EQ(kwin->calls(), (std::vector<std::string>{"unload retikonx-pointer",
                                                       "load /bundle/kwin.js retikonx-pointer", "run"}))
        << "a copy left behind by an overlay that did not end cleanly goes first";

    {
      platform::KWinScriptPointerSource second(loop, "/bundle/kwin.js", xServerKeys(0), nullptr, fromCompositor);
      EXPECT_FALSE(second.read());
      EXPECT_NE(second.whyUnknown().find("another RetikonX"), std::string::npos) << second.whyUnknown();
    }
    EXPECT_EQ(kwin->calls().size(), 3u) << "a second overlay leaves the first one's script alone";

    kwin->movePointer(1050);
    EXPECT_TRUE(readWhenReported(loop, source, 1000)) << "the last report counts";
    EXPECT_NE(source.modifiersCaveat().find("Always"), std::string::npos) << source.modifiersCaveat();

    // KWin comes back: nothing is known until its new copy of the script reports.
    kwin.reset();
    EXPECT_TRUE(unit::waitFor([&] { return loop.runOnce(), !source.read(); })) << "no pointer from a gone KWin";
    kwin = std::make_unique<StandInKWin>(session.bus.address(), 7);
    ASSERT_TRUE(kwin->serving());
    EXPECT_TRUE(readWhenReported(loop, source, 700)) << source.whyUnknown();
    EXPECT_EQ(kwin->calls().size(), 3u);
  }
  EXPECT_EQ(kwin->calls().back(), "unload retikonx-pointer") << "the overlay takes its script away when it ends";
}

TEST(KWinScriptPointer, AKWinThatRefusesTheScriptOrIsNotThereLeavesThePointerUnknownAndSaysWhy) {
  BusAndLoop session;
  auto& loop = session.loop;
  {
    platform::KWinScriptPointerSource source(loop, "/bundle/kwin.js", xServerKeys(0), nullptr, fromCompositor);
    EXPECT_FALSE(source.read());
    EXPECT_NE(source.whyUnknown().find("org.kde.kwin.Scripting"), std::string::npos) << source.whyUnknown();
    EXPECT_NE(source.whyUnknown().find("(X11) session"), std::string::npos) << source.whyUnknown();
  }
  StandInKWin kwin(session.bus.address(), -1);
  ASSERT_TRUE(kwin.serving());
  platform::KWinScriptPointerSource source(loop, "/bundle/kwin.js", xServerKeys(0), nullptr, fromCompositor);
  EXPECT_FALSE(source.read());
  EXPECT_NE(source.whyUnknown().find("would not load /bundle/kwin.js"), std::string::npos) << source.whyUnknown();
  EXPECT_EQ(kwin.calls().back(), "load /bundle/kwin.js retikonx-pointer") << "nothing run";
}

}  // namespace
