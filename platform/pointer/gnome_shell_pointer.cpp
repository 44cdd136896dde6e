// SPDX-License-Identifier: MIT
#include "platform/pointer/gnome_shell_pointer.h"

#include <systemd/sd-bus.h>

#include <chrono>

#include "platform/pointer/compositor_bus.h"
#include "platform/windowing/input.h"

namespace platform {
namespace {

// Until the extension answers, asked again now and then: it may be loaded by
// a new shell. Once it has, asked again now and then all the same: one the
// user turned off announces nothing more, and a crosshair must not stay
// where the pointer was.
constexpr std::chrono::seconds kRetryInterval{1};
constexpr std::chrono::seconds kConfirmInterval{5};

const std::string kNoBus =
    "The crosshair cannot follow the pointer and stays hidden: on GNOME's Wayland session RetikonX asks GNOME "
    "Shell for the pointer over the D-Bus session bus, and there is none";
const std::string kNotLoaded =
    "The crosshair cannot follow the pointer yet and stays hidden: GNOME Shell has not loaded the RetikonX pointer "
    "extension (" + std::string(gnome::kExtensionUuid) +
    "). Open Vantrel with the crosshair switched on, which installs and enables it, then log out and back in "
    "once so that the crosshair can follow the pointer";
const std::string kNoAnswer =
    "The crosshair is hidden while GNOME Shell does not answer where the pointer is";

// Clutter's modifier bits, which are X's below bit 8.
constexpr uint32_t kClutterShift = 1 << 0, kClutterLock = 1 << 1, kClutterControl = 1 << 2, kClutterMod1 = 1 << 3,
                   kClutterMod4 = 1 << 6, kClutterSuper = 1 << 26;

}  // namespace

uint32_t modifiersFromClutter(uint32_t state) {
  uint32_t mask = 0;
  if (state & (kClutterMod4 | kClutterSuper)) mask |= kCommandKey;
  if (state & kClutterShift) mask |= kShiftKey;
  if (state & kClutterLock) mask |= kCapsLockKey;
  if (state & kClutterMod1) mask |= kOptionKey;
  if (state & kClutterControl) mask |= kControlKey;
  return mask;
}

struct GnomeBusCallbacks {
  static int changed(sd_bus_message* signal, void* self, sd_bus_error*) {
    GnomeShellPointerSource::ShellState state;
    if (sd_bus_message_read(signal, "iiu", &state.x, &state.y, &state.modifiers) >= 0)
      static_cast<GnomeShellPointerSource*>(self)->state_ = state;
    return 0;
  }

  static int shellChanged(sd_bus_message*, void* self, sd_bus_error*) {
    // What the old shell said is no longer known to be true; the new one is asked afresh.
    auto& source = *static_cast<GnomeShellPointerSource*>(self);
    source.state_.reset();
    source.lastAsk_.reset();
    source.why_ = &kNoAnswer;
    return 0;
  }
};

GnomeShellPointerSource::GnomeShellPointerSource(EventLoop& loop, std::function<Point(int32_t, int32_t)> toPrimary)
    : loop_(loop), toPrimary_(std::move(toPrimary)), why_(&kNoBus) {}

GnomeShellPointerSource::~GnomeShellPointerSource() = default;

std::optional<PointerReading> GnomeShellPointerSource::read() {
  // A bus that went away is connected afresh, and the shell asked again.
  if (bus_ && !sd_bus_is_open(bus_.get())) disconnect();
  const auto now = std::chrono::steady_clock::now();
  if (!lastAsk_ || now - *lastAsk_ >= (state_ ? kConfirmInterval : kRetryInterval)) {
    lastAsk_ = now;
    ask();
  }
  if (!state_) return std::nullopt;
  return PointerReading{toPrimary_(state_->x, state_->y), modifiersFromClutter(state_->modifiers)};
}

bool GnomeShellPointerSource::connect() {
  bus_ = openCompositorBus(loop_);
  if (!bus_) return false;
  const std::string changes = std::string("type='signal',sender='") + gnome::kShellService + "',path='" +
                              gnome::kPointerPath + "',interface='" + gnome::kPointerInterface + "',member='" +
                              gnome::kPointerSignal + "'";
  // Listening before the first question: no change falls between the two.
  if (sd_bus_add_match(bus_.get(), outPointer(changes_), changes.c_str(), &GnomeBusCallbacks::changed, this) < 0 ||
      sd_bus_add_match(bus_.get(), outPointer(shellOwner_), ownerChangeRule(gnome::kShellService).c_str(),
                       &GnomeBusCallbacks::shellChanged, this) < 0) {
    disconnect();
    return false;
  }
  return true;
}

void GnomeShellPointerSource::disconnect() {
  changes_.reset();
  shellOwner_.reset();
  bus_.reset();
  state_.reset();
}

void GnomeShellPointerSource::ask() {
  if (!bus_ && !connect()) {
    why_ = &kNoBus;
    return;
  }
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  ShellState state;
  int r = sd_bus_call_method(bus_.get(), gnome::kShellService, gnome::kPointerPath, gnome::kPointerInterface,
                             gnome::kPointerMethod, &error, &reply, "");
  if (r >= 0) r = sd_bus_message_read(reply, "iiu", &state.x, &state.y, &state.modifiers);
  sd_bus_message_unref(reply);
  if (r >= 0) {
    // A change announced meanwhile waits in the bus's queue, and is taken after this.
    state_ = state;
    return;
  }
  // No shell, or a shell without the extension: the user has to log in again.
  state_.reset();
  const bool absent = sd_bus_error_has_names(&error, SD_BUS_ERROR_UNKNOWN_OBJECT, SD_BUS_ERROR_UNKNOWN_METHOD,
                                             SD_BUS_ERROR_UNKNOWN_INTERFACE, SD_BUS_ERROR_SERVICE_UNKNOWN,
                                             SD_BUS_ERROR_NAME_HAS_NO_OWNER);
  why_ = absent ? &kNotLoaded : &kNoAnswer;
  sd_bus_error_free(&error);
}

}  // namespace platform
