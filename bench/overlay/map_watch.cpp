// SPDX-License-Identifier: MIT
// Prints the monotonic time, in seconds, at which the first window appears
// on the root window: how the benchmark sees the first crosshair arrive.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

int main() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "map_watch: cannot open the X display\n");
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  free(xcb_request_check(connection,
                         xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &events)));
  std::printf("ready\n");
  std::fflush(stdout);
  while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
    const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
    free(event);
    if (!mapped) continue;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%ld.%09ld\n", static_cast<long>(now.tv_sec), now.tv_nsec);
    return 0;
  }
  return 1;
}
