// SPDX-License-Identifier: MIT
#pragma once
// Owners for what xcb and cairo hand out: xcb's (xcb_owners.h), and cairo's
// reference-counted contexts and surfaces.
#include <cairo.h>

#include <memory>

#include "platform/x11/xcb_owners.h"

namespace platform::x11 {

struct DestroyCairo {
  void operator()(cairo_t* cairo) const { cairo_destroy(cairo); }
};

struct DestroyCairoSurface {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};

using CairoContext = std::unique_ptr<cairo_t, DestroyCairo>;
using CairoSurface = std::unique_ptr<cairo_surface_t, DestroyCairoSurface>;

}  // namespace platform::x11
