// SPDX-License-Identifier: MIT
// The floor the overlay is measured against: a bare xcb loop that asks for
// the pointer ten times a second and does nothing else.
#include <xcb/xcb.h>

#include <cstdlib>
#include <ctime>

#include "bench_display.h"

int main() {
  const auto [connection, root] = openDisplayOrExit("floor");
  timespec next{};
  clock_gettime(CLOCK_MONOTONIC, &next);
  for (;;) {
    next.tv_nsec += 100'000'000;
    if (next.tv_nsec >= 1'000'000'000) {
      next.tv_nsec -= 1'000'000'000;
      ++next.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    free(xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr));
    if (xcb_connection_has_error(connection)) return 0;
  }
}
