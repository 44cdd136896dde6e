// RetikonX: draws a crosshair around the pointer while its settings say so.
#include "overlay/main_interface.h"
#include "overlay/process_state.h"
#include "platform/x11/application_main.h"

namespace {

// The one copy of the overlay's state in this process.
retikonx::ProcessState processState;

}  // namespace

int main(int argc, char** argv) {
  return platform::NSApplicationMain(argc, argv, [](platform::InterfaceServices& services) {
    return retikonx::loadMainInterface(processState, services.windows, services.application, services.input,
                                       services.screens);
  });
}
