// SPDX-License-Identifier: MIT
#include "platform/pointer/kwin_script_pointer.h"

#include <systemd/sd-bus.h>

#include "platform/pointer/compositor_bus.h"
#include "platform/windowing/input.h"

namespace platform {
namespace {

constexpr std::chrono::seconds kRetryInterval{1};

const std::string kLead = "The crosshair cannot follow the pointer and stays hidden: on KDE Plasma's Wayland session ";
const std::string kNoBus = kLead + "KWin reports the pointer to RetikonX over the D-Bus session bus, and there is none";
const std::string kNameTaken =
    kLead + "another RetikonX of this session already takes the pointer from KWin (it owns the bus name " +
    kwin::kOverlayService + ")";
const std::string kWaiting = "";  // loaded: the first report is on its way
const std::string kHeldKeys = kwin::kHeldKeysLimit;
const std::string kNoCapsLock =
    "KDE Plasma on Wayland does not let programs watch the modifier keys, and KWin did not tell RetikonX the state "
    "of Caps Lock (it does so only for a program whose desktop entry names org_kde_kwin_keystate in "
    "X-KDE-Wayland-Interfaces): the crosshair shows for held keys only while an X11 window has the keyboard focus. "
    "Choose Always to see it over every window";

std::string refused(const std::string& detail) {
  return kLead + "KWin did not run RetikonX's pointer script (" + detail +
         "). The crosshair needs KWin's scripting (org.kde.kwin.Scripting on the session bus); without it, choose "
         "the Plasma (X11) session at login";
}

std::string errorText(const sd_bus_error& error, int r) {
  if (sd_bus_error_is_set(&error)) return std::string(error.name) + ": " + (error.message ? error.message : "");
  return std::string("error ") + std::to_string(-r);
}

}  // namespace

struct KWinBusCallbacks {
  static int pointerMoved(sd_bus_message* call, void* self, sd_bus_error*) {
    int32_t x = 0, y = 0;
    if (int r = sd_bus_message_read(call, "ii", &x, &y); r < 0) return r;
    static_cast<KWinScriptPointerSource*>(self)->position_ = std::pair{x, y};
    return sd_bus_reply_method_return(call, "");
  }

  static int kwinChanged(sd_bus_message* signal, void* self, sd_bus_error*) {
    auto& source = *static_cast<KWinScriptPointerSource*>(self);
    const char *name = nullptr, *oldOwner = nullptr, *newOwner = nullptr;
    if (sd_bus_message_read(signal, "sss", &name, &oldOwner, &newOwner) < 0) return 0;
    // The script went with the old KWin; what it said last is no longer known to be true.
    source.loaded_ = false;
    source.position_.reset();
    source.why_ = kWaiting;
    if (newOwner && *newOwner) source.loadScript();
    return 0;
  }

  static constexpr sd_bus_vtable kVtable[] = {
      SD_BUS_VTABLE_START(0), SD_BUS_METHOD(kwin::kPointerMethod, "ii", "", pointerMoved, SD_BUS_VTABLE_UNPRIVILEGED),
      SD_BUS_VTABLE_END};
};

KWinScriptPointerSource::KWinScriptPointerSource(EventLoop& loop, std::filesystem::path script,
                                                 std::unique_ptr<PointerSource> heldKeys,
                                                 std::unique_ptr<KWinKeyState> capsLock,
                                                 std::function<Point(int32_t, int32_t)> toPrimary)
    : loop_(loop),
      script_(std::move(script)),
      heldKeys_(std::move(heldKeys)),
      capsLock_(std::move(capsLock)),
      toPrimary_(std::move(toPrimary)),
      why_(kNoBus) {}

KWinScriptPointerSource::~KWinScriptPointerSource() { unloadScript(); }

const std::string& KWinScriptPointerSource::modifiersCaveat() const {
  return capsLock_ && capsLock_->capsLocked() ? kHeldKeys : kNoCapsLock;
}

std::optional<PointerReading> KWinScriptPointerSource::read() {
  const auto now = std::chrono::steady_clock::now();
  if (!loaded_ && (!lastTry_ || now - *lastTry_ >= kRetryInterval)) {
    lastTry_ = now;
    start();
  }
  if (!position_) return std::nullopt;
  auto keys = heldKeys_->read();
  uint32_t modifiers = keys ? keys->modifiers : 0;
  if (auto locked = capsLock_ ? capsLock_->capsLocked() : std::nullopt)
    modifiers = (modifiers & ~kCapsLockKey) | (*locked ? kCapsLockKey : 0);
  return PointerReading{toPrimary_(position_->first, position_->second), modifiers};
}

void KWinScriptPointerSource::start() {
  if (!bus_ && !connect()) {
    why_ = kNoBus;
    return;
  }
  if (!named_) {
    // One feed per session: the script calls whoever owns the name.
    const int r = sd_bus_request_name(bus_.get(), kwin::kOverlayService, 0);
    if (r < 0) {
      why_ = r == -EEXIST ? kNameTaken : kNoBus;
      return;
    }
    named_ = true;
  }
  loadScript();
}

bool KWinScriptPointerSource::connect() {
  bus_ = openCompositorBus(loop_);
  if (!bus_) return false;
  int r = sd_bus_add_object_vtable(bus_.get(), outPointer(object_), kwin::kPointerPath, kwin::kPointerInterface,
                                   KWinBusCallbacks::kVtable, this);
  if (r >= 0)
    r = sd_bus_add_match(bus_.get(), outPointer(match_), ownerChangeRule(kwin::kKWinService).c_str(),
                         &KWinBusCallbacks::kwinChanged, this);
  // The bus outlives the loop's end: the script is unloaded after it.
  if (r >= 0) r = sd_bus_set_close_on_exit(bus_.get(), 0);
  if (r < 0) {
    disconnect();
    return false;
  }
  return true;
}

void KWinScriptPointerSource::disconnect() {
  object_.reset();
  match_.reset();
  bus_.reset();
  named_ = false;
}

void KWinScriptPointerSource::loadScript() {
  // A copy left by an overlay that did not end cleanly goes first: KWin
  // loads no second script under the same name.
  askToUnload();
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  int32_t id = -1;
  int r = sd_bus_call_method(bus_.get(), kwin::kKWinService, kwin::kScriptingPath, kwin::kScriptingInterface, "loadScript",
                             &error, &reply, "ss", script_.c_str(), kwin::kPluginName);
  if (r >= 0) r = sd_bus_message_read(reply, "i", &id);
  reply = sd_bus_message_unref(reply);
  if (r >= 0 && id < 0) {
    why_ = refused("it would not load " + script_.string());
  } else if (r >= 0) {
    r = sd_bus_call_method(bus_.get(), kwin::kKWinService, ("/" + std::to_string(id)).c_str(), kwin::kScriptInterface, "run",
                           &error, nullptr, "");
    if (r >= 0) {
      loaded_ = true;
      why_ = kWaiting;
    } else {
      why_ = refused(errorText(error, r));
      askToUnload();
    }
  } else {
    why_ = refused(errorText(error, r));
  }
  sd_bus_error_free(&error);
}

void KWinScriptPointerSource::unloadScript() {
  // Only our own: with the name taken, the script is another overlay's.
  if (!bus_ || !loaded_) return;
  askToUnload();
  loaded_ = false;
}

void KWinScriptPointerSource::askToUnload() {
  sd_bus_call_method(bus_.get(), kwin::kKWinService, kwin::kScriptingPath, kwin::kScriptingInterface, "unloadScript", nullptr,
                     nullptr, "s", kwin::kPluginName);
}

}  // namespace platform
