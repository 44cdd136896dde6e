#include <gtest/gtest.h>

#include <algorithm>

#include "overlay/main_interface.h"
#include "overlay_fakes.h"
#include "platform/plist/plist_dictionary.h"
#include "settings/settings_record.h"
#include "test_home.h"

using fakes::FakeWindow;
using platform::Rect;

namespace {

class Overlay : public ::testing::Test {
 protected:
  void writeSettings(std::initializer_list<std::pair<const char*, const char*>> values) {
    platform::PlistDictionary file;
    for (auto& [key, text] : values) file.setString(key, text);
    ASSERT_FALSE(file.writeFile(settings::settingsFilePath()));
  }
  void launch(std::initializer_list<std::pair<const char*, const char*>> values) {
    server.log.clear();
    writeSettings(values);
    control().applicationDidFinishLaunching();
  }

  retikonx::RetikonControl& control() { return *ui->controller; }
  FakeWindow& arm(size_t i) { return *server.windows[i]; }
  FakeWindow& readout() { return *server.windows[4]; }
  int count(const std::string& entry) const { return std::count(server.log.begin(), server.log.end(), entry); }
  int armsShown() const {
    return std::count_if(server.windows.begin(), server.windows.begin() + 4, [](auto* w) { return w->onScreen; });
  }

  unit::TempHome home;
  retikonx::ProcessState state;
  fakes::FakeWindowServer server;
  fakes::FakeApplication application;
  fakes::FakeInput input;
  fakes::FakeScreens screens;
  std::unique_ptr<retikonx::MainInterface> ui = retikonx::loadMainInterface(state, server, application, input, screens);
};

TEST_F(Overlay, LaunchObservesLoadsAndStartsTheTimerAndTheLoadSetsColoursAndArmShadows) {
  // The interface's outlets are checked by where each window and field ends up below.
  for (size_t i = 0; i < 4; ++i) EXPECT_NE(dynamic_cast<retikonx::lineView*>(arm(i).content), nullptr);
  for (const char* shadow : {"1", "0", "2"}) {
    launch({{"retikon", "1"}, {"shadow", shadow}, {"WinColor", "red"}});
    EXPECT_EQ(application.observed, "Vantrl Notification / com.Halvix.Vantrel");
    EXPECT_EQ(application.interval, std::chrono::milliseconds(100));
    EXPECT_EQ(state.tmTimer, 7);
    EXPECT_TRUE(server.log.empty()) << "nothing is on screen before the first tick";
    EXPECT_EQ(*state.record.s_WinColor, *platform::redColor());
    EXPECT_EQ(state.s_color, state.record.s_WinColor);
    for (auto& field : readout().fields) EXPECT_EQ(field.textColour, state.record.s_WinColor);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(arm(i).shadow, std::string(shadow) == "1") << shadow;
    EXPECT_EQ(readout().shadow, false) << "the readout keeps its own shadow setting";
  }
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

TEST_F(Overlay, ShowPlacesTheArmsBeforeOrderingThemInAndHideOrdersAllFiveOutOnce) {
  launch({{"retikon", "1"}, {"DispKind", "1"}, {"WinWidth", "5"}, {"distance", "10"}});
  control().hideCrossLine();
  EXPECT_TRUE(server.log.empty()) << "nothing to hide yet";
  control().showCrossLine();
  EXPECT_EQ(arm(0).frame, (Rect{-2190, 598, 2878, 5}));
  EXPECT_EQ(arm(3).frame, (Rect{698, 612, 5, 1798}));
  // An arm ordered in before its frame is set would flash at its old place.
  const std::vector<std::string> firstShow = {"H.setFrame display", "H2.setFrame display", "V.setFrame display",
                                              "V2.setFrame display", "P.orderOut", "H.orderFront",
                                              "H2.orderFront", "V.orderFront", "V2.orderFront"};
  EXPECT_EQ(server.log, firstShow);

  server.log.clear();
  for (int i = 0; i < 10; ++i) control().showCrossLine();
  EXPECT_EQ(count("H.setFrame display"), 10) << "every tick places the arms afresh";
  EXPECT_EQ(count("H.orderFront") + count("H.orderOut"), 0) << "the same colour never re-shows";

  server.log.clear();
  control().hideCrossLine();
  control().hideCrossLine();
  EXPECT_EQ(server.log, (fakes::Log{"H.orderOut", "H2.orderOut", "V.orderOut", "V2.orderOut", "P.orderOut"}));
  EXPECT_EQ(state.showPoint, 0);
}

TEST_F(Overlay, ReadoutFollowsItsSettingAndANewColourObjectReordersOnceWhileShown) {
  launch({{"retikon", "1"}, {"DispKind", "1"}});
  control().showCrossLine();
  auto& fields = readout().fields;
  EXPECT_FALSE(readout().onScreen);
  EXPECT_EQ(fields[0].text, "") << "fields stay untouched while the readout is off";

  writeSettings({{"retikon", "1"}, {"DispKind", "1"}, {"Locate", "1"}});
  application.observer();  // the loader makes a new colour object even when the value is the same
  server.log.clear();
  for (int i = 0; i < 3; ++i) control().showCrossLine();
  for (const char* name : {"H", "H2", "V", "V2", "P"}) EXPECT_EQ(count(std::string(name) + ".orderOut"), 1) << name;
  EXPECT_EQ(count("H.orderFront"), 1);
  EXPECT_EQ(count("P.orderFront"), 4) << "on every show, and once more when re-ordered in";
  EXPECT_EQ(count("P.setFrame display"), 3);
  EXPECT_EQ(state.s_prevWinColor, state.record.s_WinColor);
  EXPECT_EQ(armsShown(), 4);
  EXPECT_TRUE(readout().onScreen);
  EXPECT_EQ(readout().frame, (Rect{590, 620, 90, 19}));
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[0].text + fields[1].text + fields[2].text, "700,300");

  writeSettings({{"retikon", "1"}, {"DispKind", "1"}, {"Locate", "2"}});
  application.observer();
  state.s_prevWinColor = state.record.s_WinColor;  // the same colour object, to watch the readout alone
  control().showCrossLine();
  EXPECT_FALSE(readout().onScreen);
  EXPECT_EQ(armsShown(), 4);

  // Hidden when the new colour object comes: shown without a re-order.
  control().hideCrossLine();
  application.observer();
  server.log.clear();
  control().showCrossLine();
  EXPECT_EQ(count("H.orderOut"), 0);
  EXPECT_EQ(count("H.orderFront"), 1);
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
