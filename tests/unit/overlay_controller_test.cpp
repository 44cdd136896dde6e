// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "overlay/main_interface.h"
#include "platform/plist/plist_dictionary.h"
#include "platform/windowing/input.h"
#include "settings/settings_record.h"
#include "test_home.h"

using platform::Rect;
using Log = std::vector<std::string>;

namespace {

struct FakeTextField : platform::TextField {
  void setIntValue(int32_t value) override { text = std::to_string(value); }
  void setStringValue(std::string value) override { text = std::move(value); }
  void setTextColor(const platform::ColourRef&) override {}
  std::string text;
};

// Logs "name.request" for what puts it on screen or takes it off; its looks
// are for the screen tests to see.
struct FakeWindow : platform::Window {
  FakeWindow(Log& into, std::string named) : log(into), name(std::move(named)) {}
  void setContentView(platform::View* view) override { content = view; }
  platform::TextField& addTextField(Rect, platform::TextAlignment) override { return fields.emplace_back(); }
  void setBackgroundColor(const platform::ColourRef&) override {}
  void setLevel(int32_t) override {}
  void setAlphaValue(float) override {}
  void setOpaque(bool) override {}
  void setHasShadow(bool value) override { shadow = value; }
  void setFrame(Rect value, bool display) override {
    frame = value, log.push_back(name + ".setFrame" + (display ? " display" : ""));
  }
  void makeKeyAndOrderFront() override { onScreen = true, log.push_back(name + ".orderFront"); }
  void orderOut() override { onScreen = false, log.push_back(name + ".orderOut"); }

  Log& log;
  std::string name;
  platform::View* content = nullptr;
  std::deque<FakeTextField> fields;
  std::optional<bool> shadow;
  Rect frame;
  bool onScreen = false;
};

// The overlay on a window system of the test's own.
class Overlay : public ::testing::Test,
                platform::WindowServer, platform::Application, platform::Input, platform::ScreenList {
 protected:
  // Windows are named in the order the interface makes them: the left,
  // right, lower and upper arms, then the readout.
  std::unique_ptr<platform::Window> createWindow(Rect, uint32_t, platform::BackingStore, bool) override {
    static const char* const names[] = {"H", "H2", "V", "V2", "P"};
    auto window = std::make_unique<FakeWindow>(log, names[windows.size()]);
    windows.push_back(window.get());
    return window;
  }
  int32_t windowLevelForKey(int32_t key) const override { return key; }
  void observeDistributedNotification(std::string, std::string, std::function<void()> callback) override {
    notify = std::move(callback);
  }
  platform::Result<platform::TimerHandle> scheduleRepeatingTimer(std::chrono::microseconds,
                                                                 std::function<void()> callback) override {
    if (timerRefusal) return platform::fail(*timerRefusal);
    return tick = std::move(callback), 7;
  }
  void terminate(int status) override { ++terminated, exitStatus = status; }
  bool pointerKnown() override { return pointerIsKnown; }
  platform::Point getMouse() override { return {300, 700}; }
  uint32_t getCurrentKeyModifiers() override { return modifiers; }
  std::optional<platform::Size> primaryScreenSize() override { return screen; }

  void writeSettings(std::initializer_list<std::pair<const char*, const char*>> values) {
    platform::PlistDictionary file;
    for (auto& [key, text] : values) file.setString(key, text);
    ASSERT_TRUE(file.writeFile(settings::settingsFilePath()));
  }
  void launch(std::initializer_list<std::pair<const char*, const char*>> values) {
    log.clear();
    writeSettings(values);
    control().applicationDidFinishLaunching();
  }
  retikonx::RetikonControl& control() { return *ui->controller; }
  FakeWindow& readout() { return *windows[4]; }
  int count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }
  int armsShown() const {
    return static_cast<int>(std::count_if(windows.begin(), windows.begin() + 4, [](auto* w) { return w->onScreen; }));
  }

  unit::TempHome home;
  Log log;
  std::vector<FakeWindow*> windows;
  std::function<void()> notify, tick;
  int terminated = 0;
  int exitStatus = -1;
  std::optional<std::string> timerRefusal;
  uint32_t modifiers = 0;
  bool pointerIsKnown = true;
  std::optional<platform::Size> screen = platform::Size{1440, 900};
  retikonx::ProcessState state;
  std::unique_ptr<retikonx::MainInterface> ui = retikonx::loadMainInterface(state, *this, *this, *this, *this);
};

// Without its timer the overlay could never tick: it says why and ends with a failure.
TEST_F(Overlay, ATimerTheLoopRefusesEndsTheOverlayWithAFailureAndTheReason) {
  timerRefusal = "cannot add a timer: Too many open files";
  testing::internal::CaptureStderr();
  launch({{"retikon", "1"}});
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(terminated, 1);
  EXPECT_EQ(exitStatus, 1);
  EXPECT_EQ(state.tmTimer, 0) << "no handle for a timer that does not run";
  EXPECT_NE(said.find(": cannot add a timer: Too many open files\n"), std::string::npos) << said;
}

// The outlets are checked by where each window and field ends up; the colour loaded and which notification
// reloads, by the screen tests (overlay_test.py).
TEST_F(Overlay, LaunchStartsTheTimerShowsNothingBeforeTheFirstTickAndShadowsOnlyTheArms) {
  ASSERT_EQ(windows.size(), 5u);
  EXPECT_NE(dynamic_cast<retikonx::lineView*>(windows[3]->content), nullptr);
  for (const char* shadow : {"1", "0", "2"}) {
    launch({{"retikon", "1"}, {"shadow", shadow}});
    EXPECT_TRUE(log.empty()) << "nothing is on screen before the first tick";
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(windows[i]->shadow, std::string(shadow) == "1") << shadow;
    EXPECT_EQ(readout().shadow, false) << "the readout keeps its own shadow setting";
  }
}

TEST_F(Overlay, TheTickQuitsShowsOrHides) {
  constexpr uint32_t kCmd = platform::kCommandKey, kCtrl = platform::kControlKey;
  enum Outcome { Quit, Show, Hide };
  const struct { const char *name, *retikon, *disp, *keys; uint32_t held; Outcome outcome; bool pointerKnown = true; }
  cases[] = {
      // Off, Always and both hot keys held or none: the screen tests (overlay_test.py).
      {"DisabledHeld", "0", "0", "4352", kCmd | kCtrl, Quit}, {"AlwaysMaskZero", "1", "1", "0", 0, Show},
      {"AnyNonZeroFlagRuns", "-7", "1", "0", 0, Show},
      {"ExtraKeysHeld", "1", "0", "4352", kCmd | kCtrl | platform::kShiftKey | platform::kOptionKey, Show},
      {"OnlyControlHeld", "1", "0", "4352", kCtrl, Hide}, {"MaskZero", "1", "0", "0", kCmd | kCtrl, Hide},
      {"DisplayKindTwo", "1", "2", "4352", 0, Hide}, {"DisplayKindMinusOne", "1", "-1", "4352", kCmd | kCtrl, Show},
      {"CapsLockEngaged", "1", "0", "1024", platform::kCapsLockKey, Show},
      // A session that does not say where the pointer is hides the crosshair, never freezes it.
      {"AlwaysPointerUnknown", "1", "1", "4352", 0, Hide, false},
      {"HotKeysHeldPointerUnknown", "1", "0", "4352", kCmd | kCtrl, Hide, false},
      {"DisabledPointerUnknown", "0", "1", "4352", 0, Quit, false}};
  for (const auto& c : cases) {
    launch({{"retikon", c.retikon}, {"DispKind", c.disp}, {"keys", c.keys}});
    // Shown with this colour, so a hide has something to take away and a show nothing to re-order.
    state.showPoint = 1;
    state.s_prevWinColor = state.record.s_WinColor;
    modifiers = c.held;
    pointerIsKnown = c.pointerKnown;
    const int terminatedBefore = terminated;
    tick();
    EXPECT_EQ(terminated - terminatedBefore, c.outcome == Quit ? 1 : 0) << c.name;
    EXPECT_EQ(count("H.setFrame display"), c.outcome == Show ? 1 : 0) << c.name;
    EXPECT_EQ(count("H.orderOut"), c.outcome == Hide ? 1 : 0) << c.name;
  }
}

TEST_F(Overlay, ShowPlacesTheArmsBeforeOrderingThemInAndHideOrdersAllFiveOutOnce) {
  launch({{"retikon", "1"}, {"DispKind", "1"}, {"WinWidth", "5"}, {"distance", "10"}});
  screen.reset();
  tick();
  control().hideCrossLine();
  EXPECT_TRUE(log.empty()) << "no screen to place against, nothing to hide";
  screen = platform::Size{1440, 900};
  tick();
  // An arm ordered in before its frame is set would flash at its old place.
  EXPECT_EQ(log, (Log{"H.setFrame display", "H2.setFrame display", "V.setFrame display", "V2.setFrame display",
                      "P.orderOut", "H.orderFront", "H2.orderFront", "V.orderFront", "V2.orderFront"}));
  log.clear();
  for (int i = 0; i < 10; ++i) tick();
  EXPECT_EQ(count("H.setFrame display"), 10) << "every tick places the arms afresh";
  EXPECT_EQ(count("H.orderFront") + count("H.orderOut"), 0) << "the same colour never re-shows";
  log.clear();
  control().hideCrossLine();
  control().hideCrossLine();
  EXPECT_EQ(log, (Log{"H.orderOut", "H2.orderOut", "V.orderOut", "V2.orderOut", "P.orderOut"}));
}

TEST_F(Overlay, ReadoutFollowsItsSettingAndShowsThePointer) {
  launch({{"retikon", "1"}, {"DispKind", "1"}});
  control().showCrossLine();
  auto& fields = readout().fields;
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_FALSE(readout().onScreen);

  writeSettings({{"retikon", "1"}, {"DispKind", "1"}, {"Locate", "1"}});
  notify();
  control().showCrossLine();
  EXPECT_EQ(armsShown(), 4);
  EXPECT_TRUE(readout().onScreen);
  EXPECT_EQ(fields[0].text + fields[1].text + fields[2].text, "700,300");

  writeSettings({{"retikon", "1"}, {"DispKind", "1"}, {"Locate", "2"}});
  notify();
  state.s_prevWinColor = state.record.s_WinColor;  // the same colour object, to watch the readout alone
  control().showCrossLine();
  EXPECT_FALSE(readout().onScreen);
  EXPECT_EQ(armsShown(), 4);
}

}  // namespace
