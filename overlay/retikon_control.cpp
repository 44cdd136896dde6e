// SPDX-License-Identifier: MIT
#include "retikon_control.h"

#include <chrono>

#include "overlay/crosshair_geometry.h"
#include "platform/foundation/log.h"
#include "settings/settings_record.h"

namespace retikonx {
namespace {

constexpr std::chrono::microseconds kTickInterval{100'000};

template <typename Target, typename Action>
void send(Target* target, Action action) {
  if (target) action(*target);
}

}  // namespace

RetikonControl::RetikonControl(ProcessState& state, platform::Application& application, platform::Input& input,
                               platform::ScreenList& screens)
    : state_(state), application_(application), input_(input), screens_(screens) {}

void RetikonControl::applicationDidFinishLaunching() {
  application_.observeDistributedNotification(settings::kNotificationName, settings::kNotificationObject,
                                              [this] { callbackWithNotification(); });
  loadPref();
  auto timer = application_.scheduleRepeatingTimer(kTickInterval, [this] { checkKey(); });
  if (!timer) {
    // Without its tick the overlay can do nothing.
    platform::logLine(timer.error());
    application_.terminate(1);
    return;
  }
  state_.tmTimer = *timer;
}

void RetikonControl::callbackWithNotification() { loadPref(); }

void RetikonControl::checkKey() {
  const auto& record = state_.record;
  if (record.s_Retikon == 0) {
    application_.terminate(0);
    return;
  }
  // A crosshair left where the pointer was last seen would point at nothing.
  if (!input_.pointerKnown()) {
    hideCrossLine();
    return;
  }
  if (record.s_Disp == 1) {
    showCrossLine();
    return;
  }
  const uint32_t held = input_.getCurrentKeyModifiers();
  if (record.s_key != 0 && (held & record.s_key) == record.s_key)
    showCrossLine();
  else
    hideCrossLine();
}

void RetikonControl::loadPref() {
  auto& record = state_.record;
  const std::string path = settings::settingsFilePath();
  // Unusable settings read as the defaults, which leave the overlay off: say
  // why it is about to quit.
  if (auto loaded = settings::readPref(record, path, settings::Reader::Overlay); !loaded)
    platform::logLine("cannot read the settings (" + loaded.error() + "); the crosshair stays off");
  // The loader settles the colour before anything else, so taking the copy
  // here sees the same colour object as taking it between its steps would.
  state_.s_color = platform::copy(record.s_WinColor);

  for (platform::TextField* field : {o_pointX, o_pointD, o_pointY})
    send(field, [&](platform::TextField& f) { f.setTextColor(record.s_WinColor); });
  const bool shadow = record.s_shadow == 1;
  for (platform::Window* arm : {o_windowH, o_windowH2, o_windowV, o_windowV2})
    send(arm, [&](platform::Window& w) { w.setHasShadow(shadow); });
}

void RetikonControl::showCrossLine() {
  const platform::Point pointer = input_.getMouse();
  const auto screen = screens_.primaryScreenSize();
  // Without a screen there is nothing to place against; the next tick tries again.
  if (!screen) return;

  placeArms(pointer, *screen);
  placeReadout(pointer, screen->height);

  if (state_.record.s_WinColor != state_.s_prevWinColor) {
    state_.s_prevWinColor = platform::copy(state_.record.s_WinColor);
    hideCrossLine();
  }

  if (state_.showPoint == 0) {
    state_.showPoint = 1;
    for (platform::Window* arm : {o_windowH, o_windowH2, o_windowV, o_windowV2})
      send(arm, [](platform::Window& w) { w.makeKeyAndOrderFront(); });
    if (state_.record.s_Locate == 1) send(o_pointWindow, [](platform::Window& w) { w.makeKeyAndOrderFront(); });
  }
}

void RetikonControl::placeArms(platform::Point pointer, platform::Size screen) {
  const ArmFrames frames =
      crossLineFrames(pointer, screen, {.width = state_.record.s_WinWidth, .distance = state_.record.s_distance});
  platform::Window* arms[] = {o_windowH, o_windowH2, o_windowV, o_windowV2};
  for (size_t i = 0; i < frames.size(); ++i)
    send(arms[i], [&](platform::Window& w) { w.setFrame(frames[i], true); });
}

void RetikonControl::placeReadout(platform::Point pointer, float screenHeight) {
  if (state_.record.s_Locate != 1) {
    send(o_pointWindow, [](platform::Window& w) { w.orderOut(); });
    return;
  }
  send(o_pointX, [&](platform::TextField& f) { f.setIntValue(pointer.h); });
  send(o_pointY, [&](platform::TextField& f) { f.setIntValue(pointer.v); });
  send(o_pointWindow, [&](platform::Window& w) {
    w.setFrame(pointWindowFrame(pointer.h, pointer.v, screenHeight), true);
    w.makeKeyAndOrderFront();
  });
}

void RetikonControl::hideCrossLine() {
  if (state_.showPoint != 1) return;
  state_.showPoint = 0;
  for (platform::Window* window : {o_windowH, o_windowH2, o_windowV, o_windowV2, o_pointWindow})
    send(window, [](platform::Window& w) { w.orderOut(); });
}

}  // namespace retikonx
