// SPDX-License-Identifier: MIT
#pragma once
// Owners for what xcb and cairo hand out: replies and events, which xcb
// allocates with malloc, and cairo's reference-counted contexts and surfaces.
#include <cairo.h>

#include <cstdlib>
#include <memory>

namespace platform::x11 {

struct FreeWithFree {
  void operator()(void* block) const { std::free(block); }
};

// A reply or an event; null when the server sent none.
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, FreeWithFree>;

struct DestroyCairo {
  void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};

struct DestroyCairoSurface {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};

using CairoContext = std::unique_ptr<cairo_t, DestroyCairo>;
using CairoSurface = std::unique_ptr<cairo_surface_t, DestroyCairoSurface>;

}  // namespace platform::x11
