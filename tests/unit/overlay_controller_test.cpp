#include <gtest/gtest.h>

#include <algorithm>

#include "overlay/main_interface.h"
#include "overlay_fakes.h"
#include "platform/plist/plist_dictionary.h"
#include "settings/settings_record.h"
#include "test_home.h"

using fakes::FakeWindow;

namespace {

class Overlay : public ::testing::Test {
 protected:
  Overlay() {
    ui = retikonx::loadMainInterface(state, server, application, input, screens);
    const char* names[] = {"H", "H2", "V", "V2", "P"};
    for (size_t i = 0; i < 5; ++i) (windows[i] = server.windows[i])->name = names[i];
    field(control().o_pointX).name = "X";
    field(control().o_pointY).name = "Y";
    field(control().o_pointD).name = "D";
  }

  void writeSettings(std::initializer_list<std::pair<const char*, const char*>> values) {
    platform::PlistDictionary file;
    for (auto& [key, text] : values) file.setString(key, text);
    ASSERT_TRUE(file.writeFile(settings::settingsFilePath()));
  }

  // Launches with these settings and forgets what launching did.
  void launch(std::initializer_list<std::pair<const char*, const char*>> values) {
    writeSettings(values);
    control().applicationDidFinishLaunching();
    server.log.clear();
  }

  retikonx::RetikonControl& control() { return *ui->controller; }
  FakeWindow& arm(size_t i) { return *windows[i]; }
  FakeWindow& readout() { return *windows[4]; }
  int count(const std::string& entry) const {
    return static_cast<int>(std::count(server.log.begin(), server.log.end(), entry));
  }
  int armsShown() const {
    return static_cast<int>(std::count_if(windows.begin(), windows.begin() + 4, [](auto* w) { return w->onScreen; }));
  }
  static fakes::FakeTextField& field(platform::TextField* f) { return static_cast<fakes::FakeTextField&>(*f); }

  unit::TempHome home;
  retikonx::ProcessState state;
  fakes::FakeWindowServer server;
  fakes::FakeApplication application{server.log};
  fakes::FakeInput input;
  fakes::FakeScreens screens;
  std::unique_ptr<retikonx::MainInterface> ui;
  std::array<FakeWindow*, 5> windows{};
};

TEST_F(Overlay, InterfaceMakesFiveHiddenWindowsAndArmsFilledByLineViews) {
  ASSERT_EQ(server.created.size(), 5u);
  for (size_t i = 0; i < 4; ++i) EXPECT_NE(dynamic_cast<retikonx::lineView*>(arm(i).content), nullptr);
  const std::vector<platform::Window*> outlets = {control().o_windowH, control().o_windowH2, control().o_windowV,
                                                  control().o_windowV2, control().o_pointWindow};
  EXPECT_EQ(outlets, std::vector<platform::Window*>(windows.begin(), windows.end()));
  EXPECT_EQ(readout().fields.size(), 3u);
  EXPECT_EQ(readout().fields[1]->text, retikonx::kReadoutLabel);
  EXPECT_TRUE(std::none_of(server.log.begin(), server.log.end(), [](auto& e) { return e.ends_with("orderFront"); }));
}

TEST_F(Overlay, LaunchObservesThenLoadsThenStartsTheTimer) {
  writeSettings({{"retikon", "1"}, {"WinColor", "red"}});
  control().applicationDidFinishLaunching();
  const auto& log = server.log;
  auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
  EXPECT_LT(at("observe Vantrl Notification / com.Halvix.Vantrel"), at("X.setTextColor"));
  EXPECT_LT(at("H.setHasShadow NO"), at("timer 100000us"));
  EXPECT_EQ(state.tmTimer, 7);
  EXPECT_EQ(*state.record.s_WinColor, *platform::redColor());
  EXPECT_EQ(state.s_color, state.record.s_WinColor);
  EXPECT_EQ(count("H.orderFront"), 0) << "no tick runs at launch";
}

TEST_F(Overlay, LoadColoursTheTextAndSetsTheArmShadowsOnlyForOne) {
  for (const char* shadow : {"1", "0", "2"}) {
    launch({{"retikon", "1"}, {"shadow", shadow}, {"WinColor", "blue"}});
    control().callbackWithNotification();
    const bool expected = std::string(shadow) == "1";
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(arm(i).shadow, expected) << shadow;
    EXPECT_EQ(readout().shadow, false) << "the readout keeps its own shadow setting";
    EXPECT_EQ(count("X.setTextColor") + count("D.setTextColor") + count("Y.setTextColor"), 3);
    EXPECT_EQ(field(control().o_pointX).textColour, state.record.s_WinColor);
  }
}

TEST_F(Overlay, NotificationReloadsEverySetting) {
  launch({{"retikon", "1"}, {"WinWidth", "9"}, {"keys", "4352"}});
  writeSettings({{"retikon", "1"}});
  application.observer();
  EXPECT_EQ(state.record.s_WinWidth, 5);
  EXPECT_EQ(state.record.s_key, 0u);
}

constexpr uint32_t kCmd = settings::kCommandKey, kShift = settings::kShiftKey, kCaps = settings::kCapsLockKey,
                   kOpt = settings::kOptionKey, kCtrl = settings::kControlKey;

TEST_F(Overlay, TheTickQuitsShowsOrHides) {
  enum Outcome { Quit, Show, Hide };
  const struct {
    const char *name, *retikon, *disp, *keys;
    uint32_t held;
    Outcome outcome;
  } cases[] = {
      {"DisabledQuits", "0", "1", "4352", 0, Quit},
      {"DisabledQuitsWhateverIsHeld", "0", "0", "4352", kCmd | kCtrl, Quit},
      {"AlwaysShowsWithNothingHeld", "1", "1", "4352", 0, Show},
      {"AlwaysShowsWithMaskZero", "1", "1", "0", 0, Show},
      {"AnyNonZeroFlagRuns", "-7", "1", "0", 0, Show},
      {"HotKeysHeld", "1", "0", "4352", kCmd | kCtrl, Show},
      {"HotKeysWithExtraKeys", "1", "0", "4352", kCmd | kCtrl | kShift | kOpt, Show},
      {"OnlyControlHeld", "1", "0", "4352", kCtrl, Hide},
      {"OnlyCommandHeld", "1", "0", "4352", kCmd, Hide},
      {"MaskZeroNeverShows", "1", "0", "0", kCmd | kCtrl | kShift, Hide},
      {"DisplayKindTwoIsHotKeyMode", "1", "2", "4352", 0, Hide},
      {"DisplayKindMinusOneIsHotKeyMode", "1", "-1", "4352", kCmd | kCtrl, Show},
      {"CapsLockEngagedCounts", "1", "0", "1024", kCaps, Show},
      {"CapsLockReleased", "1", "0", "1024", 0, Hide},
      {"RightControlBitsDropped", "1", "0", "37128", kCmd | kCtrl, Show}};
  for (const auto& c : cases) {
    launch({{"retikon", c.retikon}, {"DispKind", c.disp}, {"keys", c.keys}});
    // Shown first with this colour, so that a hide has something to take
    // away and a show has nothing to re-order.
    state.showPoint = 1;
    state.s_prevWinColor = state.record.s_WinColor;
    input.modifiers = c.held;
    const int terminatedBefore = application.terminated;
    application.tick();
    EXPECT_EQ(application.terminated - terminatedBefore, c.outcome == Quit ? 1 : 0) << c.name;
    EXPECT_EQ(count("H.setFrame display"), c.outcome == Show ? 1 : 0) << c.name;
    EXPECT_EQ(count("H.orderOut"), c.outcome == Hide ? 1 : 0) << c.name;
  }
}

TEST_F(Overlay, TickReadsTheModifiersOnlyInHotKeyMode) {
  launch({{"retikon", "1"}, {"DispKind", "1"}});
  application.tick();
  EXPECT_EQ(input.modifierReads, 0);
  launch({{"retikon", "1"}, {"keys", "4352"}});
  application.tick();
  EXPECT_EQ(input.modifierReads, 1);
}

// Showing and hiding.
TEST_F(Overlay, FirstShowPlacesThenOrdersTheArmsInOnce) {
  launch({{"retikon", "1"}, {"DispKind", "1"}, {"WinWidth", "5"}, {"distance", "10"}});
  input.pointer = {300, 700};
  control().showCrossLine();
  EXPECT_EQ(arm(0).frameValue, (platform::Rect{-2190, 598, 2878, 5}));
  EXPECT_EQ(arm(3).frameValue, (platform::Rect{698, 612, 5, 1798}));
  const std::vector<std::string> expected = {"H.setFrame display", "H2.setFrame display", "V.setFrame display",
                                             "V2.setFrame display", "P.orderOut", "H.orderFront",
                                             "H2.orderFront", "V.orderFront", "V2.orderFront"};
  EXPECT_EQ(server.log, expected);
  EXPECT_EQ(state.showPoint, 1);

  server.log.clear();
  for (int i = 0; i < 10; ++i) control().showCrossLine();
  EXPECT_EQ(count("H.setFrame display"), 10) << "every tick places the arms afresh";
  EXPECT_EQ(count("H.orderFront") + count("H.orderOut"), 0) << "the same colour never re-shows";
}

TEST_F(Overlay, HideOrdersAllFiveOutOnceAndOnlyWhenShown) {
  launch({{"retikon", "1"}, {"DispKind", "1"}});
  control().hideCrossLine();
  EXPECT_TRUE(server.log.empty());
  control().showCrossLine();
  server.log.clear();
  control().hideCrossLine();
  control().hideCrossLine();
  const std::vector<std::string> expected = {"H.orderOut", "H2.orderOut", "V.orderOut", "V2.orderOut",
                                             "P.orderOut"};
  EXPECT_EQ(server.log, expected);
  EXPECT_EQ(armsShown(), 0);
}

TEST_F(Overlay, NewColourObjectWhileShownReordersOnce) {
  launch({{"retikon", "1"}, {"DispKind", "1"}, {"Locate", "1"}});
  control().showCrossLine();
  // The loader makes a new colour object even when the value is the same.
  application.observer();
  server.log.clear();
  for (int i = 0; i < 3; ++i) control().showCrossLine();
  for (const char* name : {"H", "H2", "V", "V2", "P"}) {
    EXPECT_EQ(count(std::string(name) + ".orderOut"), 1) << name;
  }
  EXPECT_EQ(count("H.orderFront"), 1);
  EXPECT_EQ(count("P.orderFront"), 4) << "on every show, and once more when re-ordered in";
  EXPECT_EQ(armsShown(), 4);
  EXPECT_TRUE(readout().onScreen);
  EXPECT_EQ(state.s_prevWinColor, state.record.s_WinColor);
}

TEST_F(Overlay, NewColourObjectWhileHiddenJustShows) {
  launch({{"retikon", "1"}, {"keys", "4352"}});
  application.observer();
  input.modifiers = kCmd | kCtrl;
  application.tick();
  EXPECT_EQ(count("H.orderOut"), 0);
  EXPECT_EQ(count("H.orderFront"), 1);
  input.modifiers = kCtrl;
  application.tick();
  EXPECT_EQ(armsShown(), 0);
  EXPECT_EQ(state.showPoint, 0);
}

TEST_F(Overlay, ReadoutFollowsItsSettingWhileShown) {
  launch({{"retikon", "1"}, {"DispKind", "1"}});
  input.pointer = {300, 700};
  control().showCrossLine();
  EXPECT_FALSE(readout().onScreen);
  EXPECT_EQ(field(control().o_pointX).text, "") << "fields stay untouched while the readout is off";

  writeSettings({{"retikon", "1"}, {"DispKind", "1"}, {"Locate", "1"}});
  application.observer();
  control().showCrossLine();  // the new colour object re-shows everything once
  server.log.clear();
  control().showCrossLine();
  EXPECT_TRUE(readout().onScreen);
  EXPECT_EQ(readout().frameValue, (platform::Rect{590, 620, 90, 19}));
  EXPECT_EQ(field(control().o_pointX).text, "700");
  EXPECT_EQ(field(control().o_pointY).text, "300");
  const std::vector<std::string> expected = {"H.setFrame display", "H2.setFrame display", "V.setFrame display",
                                             "V2.setFrame display", "X.setIntValue 700", "Y.setIntValue 300",
                                             "P.setFrame display", "P.orderFront"};
  EXPECT_EQ(server.log, expected);

  writeSettings({{"retikon", "1"}, {"DispKind", "1"}, {"Locate", "2"}});
  application.observer();
  state.s_prevWinColor = state.record.s_WinColor;  // the same colour object, to watch the readout alone
  control().showCrossLine();
  EXPECT_FALSE(readout().onScreen);
  EXPECT_EQ(armsShown(), 4);
}

TEST_F(Overlay, NoScreenSkipsThePlacement) {
  launch({{"retikon", "1"}, {"DispKind", "1"}});
  screens.size.reset();
  application.tick();
  EXPECT_TRUE(server.log.empty());
  EXPECT_EQ(state.showPoint, 0);
  screens.size = platform::Size{1440, 900};
  application.tick();
  EXPECT_EQ(armsShown(), 4);
}

TEST_F(Overlay, QuitsWhenReloadedDisabledButNotBefore) {
  launch({{"retikon", "1"}, {"DispKind", "1"}});
  writeSettings({{"retikon", "0"}});
  application.tick();
  EXPECT_EQ(application.terminated, 0) << "the file alone changes nothing";
  application.observer();
  application.tick();
  EXPECT_EQ(application.terminated, 1);
}

}  // namespace
