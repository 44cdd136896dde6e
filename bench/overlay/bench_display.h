// SPDX-License-Identifier: MIT
#pragma once
// The X display and its root window, for the measuring helpers: without a
// display there is nothing to measure, so they end at once.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

struct BenchDisplay {
  xcb_connection_t* connection;
  xcb_window_t root;
};

// Ends the program, with a line on stderr naming it, when DISPLAY cannot be opened.
inline BenchDisplay openDisplayOrExit(const char* program) {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "%s: cannot open the X display\n", program);
    std::exit(1);
  }
  return {connection, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root};
}
