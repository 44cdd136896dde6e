// SPDX-License-Identifier: MIT
#include "pane_services.h"

#include "pane/pane_state.h"
#include "platform/bus/notification_center.h"
#include "platform/desktop/file_manager_workspace.h"
#include "platform/desktop/session_desktop_settings.h"
#include "platform/desktop/session_overlay_pointer.h"
#include "platform/foundation/appkit_version.h"
#include "platform/login_items/login_items.h"
#include "platform/pane_host/bus_dispatcher.h"
#include "platform/pane_host/event_loop_clock.h"
#include "platform/process/apple_script_runner.h"
#include "platform/process/posix_task_runner.h"
#include "platform/process/process_workspace.h"

namespace vantrel {

struct SystemServices::Parts {
  std::unique_ptr<platform::DistributedNotificationCenter> center = platform::DistributedNotificationCenter::defaultCenter();
  platform::QtBusDispatcher busDispatcher{*center};  // the window may stay open for hours
  platform::EventLoopClock clock;  // the window repaints while it waits
  platform::ProcessWorkspace processes{clock};
  platform::PosixTaskRunner tasks{clock};
  platform::FileManagerWorkspace workspace{processes, tasks};
  platform::LoginItems loginItems;
  platform::AppleScriptRunner appleScripts{workspace, loginItems};
  platform::FileManagerScripts scripts{appleScripts, workspace};
  platform::SessionDesktopSettings desktop{tasks};
  platform::SessionOverlayPointerSetup pointerSetup;
};

SystemServices::SystemServices() : parts_(std::make_unique<Parts>()) {}
SystemServices::~SystemServices() = default;

PaneServices SystemServices::services() {
  return PaneServices{crosshairRecord,   tweaksState,      *parts_->center, parts_->workspace,
                      parts_->tasks,     parts_->scripts,  parts_->clock,   parts_->desktop,
                      parts_->pointerSetup, platform::NSAppKitVersionNumber};
}

}  // namespace vantrel
