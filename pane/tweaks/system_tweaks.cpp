#include "pane/tweaks/system_tweaks.h"

#include "pane/tweaks/system_generation.h"

namespace vantrel {

TweaksDisplay SystemTweaks::mainViewDidLoad() {
  TweaksDisplay display;
  state_.osVersion = versionCheck(services_.appKitVersionNumber);
  loadGlobalPreferences(state_);
  display.placement = loadScrollBarPlacement(state_);
  display.slider = loadPointerSpeed(state_);
  loadFinderPreferences(state_);
  display.zoom = loadZoomCheckbox(state_, services_.tasks, services_.defaultsTool);
  return display;
}

}  // namespace vantrel
