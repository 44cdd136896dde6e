// SPDX-License-Identifier: MIT
// Prints the monotonic time, in seconds, at which the first window appears
// on the root window: how the benchmark sees the first crosshair arrive.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "bench_display.h"

int main() {
  const auto [connection, root] = openDisplayOrExit("map_watch");
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
