// SPDX-License-Identifier: MIT
#pragma once
// The overlay application's main interface, built in code: the controller as
// the application's delegate, four arm windows each filled by a line view,
// and the readout window with its three text fields, all off screen.
#include <array>
#include <memory>

#include "overlay/line_view.h"
#include "overlay/process_state.h"
#include "overlay/retikon_control.h"
#include "platform/windowing/application.h"
#include "platform/windowing/input.h"
#include "platform/windowing/window.h"

namespace retikonx {

struct MainInterface : platform::MainInterfaceObjects {
  platform::ApplicationDelegate& delegate() override { return *controller; }

  std::array<std::unique_ptr<lineView>, 4> views;
  std::array<std::unique_ptr<platform::Window>, 4> arms;  // left, right, lower, upper
  std::unique_ptr<platform::Window> pointWindow;
  std::unique_ptr<RetikonControl> controller;  // the application's delegate
};

inline constexpr const char* kReadoutLabel = ",";

std::unique_ptr<MainInterface> loadMainInterface(ProcessState& state, platform::WindowServer& windows,
                                                 platform::Application& application, platform::Input& input,
                                                 platform::ScreenList& screens);

}  // namespace retikonx
