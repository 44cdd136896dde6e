// SPDX-License-Identifier: MIT
#include "application_main.h"

#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/bus/notification_center.h"
#include "platform/event/event_loop.h"
#include "platform/foundation/log.h"
#include "platform/pointer/gnome_shell_pointer.h"
#include "platform/pointer/kwin_script_pointer.h"
#include "platform/pointer/pointer_choice.h"
#include "platform/pointer/tick_input.h"
#include "platform/x11/compositor_watch.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_screens.h"
#include "platform/x11/x11_window_server.h"

namespace platform {
namespace {

class X11Application : public Application {
 public:
  X11Application(EventLoop& loop, DistributedNotificationCenter& center, TickInput& input,
                 x11::X11WindowServer& windows, x11::X11Display& display)
      : loop_(loop), center_(center), input_(input), windows_(windows), display_(display) {}
  // The loop calls back into this object where it is.
  X11Application(const X11Application&) = delete;
  X11Application& operator=(const X11Application&) = delete;

  void observeDistributedNotification(std::string name, std::string object, std::function<void()> callback) override {
    // The overlay still works without: it shows the settings it started with.
    if (Status observed = center_.addObserver(loop_, std::move(name), std::move(object), std::move(callback)); !observed)
      logLine(observed.error());
  }

  Result<TimerHandle> scheduleRepeatingTimer(std::chrono::microseconds interval,
                                             std::function<void()> callback) override {
    Status added = loop_.addRepeatingTimer(interval, [this, callback = std::move(callback)] {
      input_.startTick();
      callback();
      windows_.applyOrdering();
      windows_.raiseIfCovered();
      xcb_flush(display_.connection());
    });
    if (!added) return fail(added.error());
    return ++timers_;
  }

  void terminate(int status) override { loop_.exit(status); }

 private:
  EventLoop& loop_;
  DistributedNotificationCenter& center_;
  TickInput& input_;
  x11::X11WindowServer& windows_;
  x11::X11Display& display_;
  TimerHandle timers_ = 0;
};

// RetikonX.app/Contents/Resources, from the running executable in Contents/MacOS.
std::filesystem::path ownResources() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().parent_path() / "Resources";
}

std::unique_ptr<PointerSource> sessionPointerSource(EventLoop& loop, x11::X11Display& display,
                                                    x11::X11Screens& screens) {
  PointerSourceChoice choice = choosePointerSource(DesktopSession::fromEnvironment());
  switch (choice.kind) {
    case PointerSourceKind::XServer:
      return std::make_unique<x11::X11PointerSource>(display, screens);
    case PointerSourceKind::GnomeShell:
      return std::make_unique<GnomeShellPointerSource>(
          loop, [&screens](int32_t x, int32_t y) { return x11::pointerFromRoot(x, y, screens.primary()); });
    case PointerSourceKind::KWinScript: {
      // The X server stays the source of the held modifiers but Caps Lock.
      return std::make_unique<KWinScriptPointerSource>(
          loop, ownResources() / kwin::kScriptFile, std::make_unique<x11::X11PointerSource>(display, screens),
          std::make_unique<KWinKeyState>(loop), [&screens](int32_t x, int32_t y) { return x11::pointerFromRoot(x, y, screens.primary()); });
    }
    case PointerSourceKind::None:
      break;
  }
  return std::make_unique<NoPointerSource>(std::move(choice.whyNone));
}

}  // namespace

int NSApplicationMain(int, char**, const MainInterfaceLoader& loadMainInterface) {
  auto display = x11::X11Display::open();
  if (!display) {
    const char* name = std::getenv("DISPLAY");
    logLine(std::string("cannot open the X display ") +
            (name ? "\"" + std::string(name) + "\"" : "(DISPLAY is not set)"));
    return 1;
  }
  EventLoop loop;
  // Ended by the session or by hand, the overlay still takes its KWin script away.
  if (Status watched = loop.exitOnSignals({SIGTERM, SIGINT, SIGHUP}); !watched)
    logLine(watched.error());
  x11::X11Screens screens(*display);
  auto pointer = sessionPointerSource(loop, *display, screens);
  TickInput input(*pointer);
  x11::X11WindowServer windows(*display, screens);
  x11::CompositorWatch compositor(*display, [&windows](bool running) { windows.setComposited(running); });
  windows.setComposited(compositor.running());
  auto center = DistributedNotificationCenter::defaultCenter();
  X11Application application(loop, *center, input, windows, *display);

  int status = 0;
  Status watched = loop.addReadable(
      xcb_get_file_descriptor(display->connection()),
      [&] {
        display->dispatch(false);
        if (display->broken()) {
          logLine("lost the connection to the X display");
          status = 1;
          loop.exit(1);
        }
      },
      [&] {
        display->dispatch(true);
        windows.applyOrdering();
        xcb_flush(display->connection());
      });
  if (!watched) {
    logLine(watched.error());
    return 1;
  }

  InterfaceServices services{windows, application, input, screens};
  auto objects = loadMainInterface(services);
  objects->delegate().applicationDidFinishLaunching();
  const int code = loop.run();
  return status ? status : code;
}

}  // namespace platform
