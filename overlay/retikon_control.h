// SPDX-License-Identifier: MIT
#pragma once
// The overlay application's controller: at launch it observes the change
// notification, loads the settings and starts the poll timer; every tick it
// quits, shows the crosshair around the pointer or hides it.
#include "overlay/process_state.h"
#include "platform/windowing/application.h"
#include "platform/windowing/input.h"
#include "platform/windowing/window.h"

namespace retikonx {

class RetikonControl : public platform::ApplicationDelegate {
 public:
  RetikonControl(ProcessState& state, platform::Application& application, platform::Input& input,
                 platform::ScreenList& screens);
  // The application calls back into this object where it is.
  RetikonControl(const RetikonControl&) = delete;
  RetikonControl& operator=(const RetikonControl&) = delete;

  // Outlets, connected by the main interface; a null one is skipped.
  platform::Window* o_windowH = nullptr;   // left arm
  platform::Window* o_windowH2 = nullptr;  // right arm
  platform::Window* o_windowV = nullptr;   // lower arm
  platform::Window* o_windowV2 = nullptr;  // upper arm
  platform::Window* o_pointWindow = nullptr;
  platform::TextField* o_pointX = nullptr;
  platform::TextField* o_pointD = nullptr;  // the fixed label; only its colour changes
  platform::TextField* o_pointY = nullptr;

  void applicationDidFinishLaunching() override;
  void callbackWithNotification();
  void checkKey();
  void loadPref();
  void showCrossLine();
  void hideCrossLine();

 private:
  void placeArms(platform::Point pointer, platform::Size screen);
  void placeReadout(platform::Point pointer, float screenHeight);

  ProcessState& state_;
  platform::Application& application_;
  platform::Input& input_;
  platform::ScreenList& screens_;
};

}  // namespace retikonx
