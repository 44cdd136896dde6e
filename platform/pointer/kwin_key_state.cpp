// SPDX-License-Identifier: MIT
#include "platform/pointer/kwin_key_state.h"

#include <systemd/sd-event.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstring>

#include "keystate-client-protocol.h"
#include "platform/event/event_loop.h"

namespace platform {

struct KeyStateListeners {
  static void global(void* self, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto& state = *static_cast<KWinKeyState*>(self);
    if (state.keystate_ || std::strcmp(interface, org_kde_kwin_keystate_interface.name) != 0) return;
    state.keystate_ = static_cast<org_kde_kwin_keystate*>(
        wl_registry_bind(registry, name, &org_kde_kwin_keystate_interface, std::min(version, 4u)));
    org_kde_kwin_keystate_add_listener(state.keystate_, &kKeyState, self);
    org_kde_kwin_keystate_fetchStates(state.keystate_);
  }
  static void globalRemove(void*, wl_registry*, uint32_t) {}

  static void stateChanged(void* self, org_kde_kwin_keystate*, uint32_t key, uint32_t keyState) {
    // Caps Lock counts while locked, as the X server's Lock modifier does.
    if (key == ORG_KDE_KWIN_KEYSTATE_KEY_CAPSLOCK)
      static_cast<KWinKeyState*>(self)->capsLocked_ = keyState == ORG_KDE_KWIN_KEYSTATE_STATE_LOCKED;
  }

  static int readable(sd_event_source*, int, uint32_t, void* self) {
    auto& state = *static_cast<KWinKeyState*>(self);
    if (wl_display_dispatch(state.display_) < 0) state.disconnect();
    return 0;
  }

  static constexpr wl_registry_listener kRegistry = {global, globalRemove};
  static constexpr org_kde_kwin_keystate_listener kKeyState = {stateChanged};
};

KWinKeyState::KWinKeyState(EventLoop& loop) {
  display_ = wl_display_connect(nullptr);
  if (!display_) return;
  registry_ = wl_display_get_registry(display_);
  wl_registry_add_listener(registry_, &KeyStateListeners::kRegistry, this);
  // The globals, then the states that binding the protocol asked for.
  if (wl_display_roundtrip(display_) < 0 || !keystate_ || wl_display_roundtrip(display_) < 0 ||
      sd_event_add_io(loop.handle(), outPointer(watch_), wl_display_get_fd(display_), EPOLLIN,
                      KeyStateListeners::readable, this) < 0) {
    disconnect();
  }
}

KWinKeyState::~KWinKeyState() { disconnect(); }

void KWinKeyState::disconnect() {
  capsLocked_.reset();
  watch_.reset();
  if (keystate_ && org_kde_kwin_keystate_get_version(keystate_) >= ORG_KDE_KWIN_KEYSTATE_DESTROY_SINCE_VERSION)
    org_kde_kwin_keystate_destroy(keystate_);
  else if (keystate_)
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(keystate_));
  keystate_ = nullptr;
  if (registry_) wl_registry_destroy(registry_);
  registry_ = nullptr;
  if (display_) wl_display_disconnect(display_);
  display_ = nullptr;
}

}  // namespace platform
