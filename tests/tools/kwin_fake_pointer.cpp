// SPDX-License-Identifier: MIT
// Moves KWin's pointer to absolute positions, or taps a key, through KWin's
// fake input protocol, as a remote-control program would:
//   kwin_fake_pointer [--every MILLISECONDS] X Y [X Y...]
//   kwin_fake_pointer --tap KEYCODE     (a Linux input key code: 58 is Caps Lock)
// With --every, one position at that interval (a pointer in motion, for the
// benchmarks); without, all at once. KWin grants the protocol to any client when run with
// KWIN_WAYLAND_NO_PERMISSION_CHECKS=1.
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "fake-input-client-protocol.h"

namespace {

org_kde_kwin_fake_input* fakeInput = nullptr;
uint32_t wanted = 3;  // pointer motion; keys need 4

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
  if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= wanted)
    fakeInput = static_cast<org_kde_kwin_fake_input*>(
        wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, wanted));
}

void globalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {global, globalRemove};

}  // namespace

int main(int argc, char** argv) {
  int first = 1, every = 0, tap = 0;
  if (argc > 2 && std::strcmp(argv[1], "--every") == 0) {
    every = std::atoi(argv[2]);
    first = 3;
  } else if (argc == 3 && std::strcmp(argv[1], "--tap") == 0) {
    tap = std::atoi(argv[2]);
    wanted = 4;
    first = argc;
  }
  if (!tap && (argc - first < 2 || (argc - first) % 2 != 0)) {
    std::fprintf(stderr, "usage: %s [--every MILLISECONDS] X Y [X Y...] | --tap KEYCODE\n", argv[0]);
    return 2;
  }
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fprintf(stderr, "%s: no Wayland display\n", argv[0]);
    return 1;
  }
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, nullptr);
  wl_display_roundtrip(display);
  if (!fakeInput) {
    std::fprintf(stderr, "%s: the compositor offers no org_kde_kwin_fake_input (version %u)\n", argv[0], wanted);
    return 1;
  }
  org_kde_kwin_fake_input_authenticate(fakeInput, "RetikonX tests", "moves the pointer");
  bool done = true;
  if (tap) {
    org_kde_kwin_fake_input_keyboard_key(fakeInput, static_cast<uint32_t>(tap), 1);
    org_kde_kwin_fake_input_keyboard_key(fakeInput, static_cast<uint32_t>(tap), 0);
  }
  for (int i = first; done && i + 1 < argc; i += 2) {
    org_kde_kwin_fake_input_pointer_motion_absolute(fakeInput, wl_fixed_from_int(std::atoi(argv[i])),
                                                    wl_fixed_from_int(std::atoi(argv[i + 1])));
    if (every) {
      done = wl_display_flush(display) >= 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(every));
    }
  }
  done = done && wl_display_roundtrip(display) >= 0;
  org_kde_kwin_fake_input_destroy(fakeInput);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return done ? 0 : 1;
}
