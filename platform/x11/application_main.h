// SPDX-License-Identifier: MIT
#pragma once
// The entry of a program on the X window system: connects, builds the main
// interface, tells its delegate that launching is done and runs the event
// loop until the application terminates.
#include <functional>
#include <memory>

#include "platform/windowing/application.h"
#include "platform/windowing/input.h"
#include "platform/windowing/window.h"

namespace platform {

// The objects a main interface is built from.
struct InterfaceServices {
  WindowServer& windows;
  Application& application;
  Input& input;
  ScreenList& screens;
};

using MainInterfaceLoader = std::function<std::unique_ptr<MainInterfaceObjects>(InterfaceServices&)>;

// Returns the program's exit status: non-zero, with a message on stderr,
// when there is no X display or the connection to it is lost.
int NSApplicationMain(int argc, char** argv, const MainInterfaceLoader& loadMainInterface);

}  // namespace platform
