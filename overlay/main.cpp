// SPDX-License-Identifier: MIT
// RetikonX: draws a crosshair around the pointer while its settings say so.
#include <cstdio>
#include <cstring>
#include <string>

#include "overlay/main_interface.h"
#include "project_version.h"
#include "overlay/process_state.h"
#include "platform/foundation/log.h"
#include "platform/foundation/text.h"
#include "platform/x11/application_main.h"

namespace {

// The one copy of the overlay's state in this process.
retikonx::ProcessState processState;

constexpr const char* kUsage =
    "usage: RetikonX [--help | --version]\n"
    "Draws a crosshair around the mouse pointer while the settings in\n"
    "~/Library/Preferences/com.Halvix.RetikonX.plist say so, and quits when they\n"
    "switch it off. The Vantrel settings window edits them and starts RetikonX.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("RetikonX %s\n", kProjectVersion);
    return 0;
  }
  if (argc > 1) {
    const bool help = std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0;
    if (!help) platform::logLine(std::string("unknown argument ") + argv[1]);
    std::fputs(kUsage, help ? stdout : stderr);
    return help ? 0 : 2;
  }
  if (auto home = platform::homeFolder(); !home) {
    platform::logLine(home.error());
    return 1;
  }
  return platform::NSApplicationMain(argc, argv, [](platform::InterfaceServices& services) {
    return retikonx::loadMainInterface(processState, services.windows, services.application, services.input,
                                       services.screens);
  });
}
