// SPDX-License-Identifier: MIT
#include "pane/tweaks/system_tweaks.h"

#include "pane/tweaks/desktop_effects.h"
#include "pane/tweaks/system_generation.h"

namespace vantrel {
namespace {

// What the user asked for, as the window's problem lines name it.
constexpr const char* kScrollBarRequest = "scroll-bar arrows";
constexpr const char* kPointerSpeedRequest = "pointer speed";

}  // namespace

TweaksDisplay SystemTweaks::mainViewDidLoad() {
  TweaksDisplay display;
  state_.osVersion = versionCheck(services_.appKitVersionNumber);
  loadGlobalPreferences(state_);
  display.placement = loadScrollBarPlacement(state_);
  display.slider = loadPointerSpeed(state_);
  loadFinderPreferences(state_);
  display.zoom = loadZoomCheckbox(state_, services_.tasks, defaultsTool_, services_.problems);
  return display;
}

// With an unreadable preferences file at the load nothing is saved, and that
// is no refusal: the desktop still changes.
void SystemTweaks::a_scrollBar(ScrollBarPlacement placement) {
  platform::Status saved = storeScrollBarPlacement(state_, placement);
  if (!saved) return services_.problems.report(kScrollBarRequest, "scroll-bar arrows not saved: " + saved.error());
  services_.problems.settle(kScrollBarRequest, services_.desktop.setScrollBarSteppers(steppersFor(placement)));
}

void SystemTweaks::a_slider(float sliderValue) {
  platform::Status saved = storePointerSpeed(state_, sliderValue);
  if (!saved) return services_.problems.report(kPointerSpeedRequest, "pointer speed not saved: " + saved.error());
  services_.problems.settle(kPointerSpeedRequest, services_.desktop.setPointerSpeed(desktopPointerSpeed(sliderValue)));
}

bool SystemTweaks::a_ZoomCheck(int checkboxState) {
  platform::Status stored = setFinderZoom(checkboxState, services_.tasks, defaultsTool_);
  services_.problems.settle(kZoomRequest, stored);
  return stored.ok();
}

}  // namespace vantrel
