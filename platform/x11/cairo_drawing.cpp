// SPDX-License-Identifier: MIT
#include "cairo_drawing.h"

#include <algorithm>
#include <cmath>

namespace platform {

CairoDrawing::CairoDrawing(cairo_t* cairo, double viewHeight, double originX, double originY, Size surface)
    : cairo_(cairo), viewHeight_(viewHeight), originX_(originX), originY_(originY), surface_(surface) {}

void CairoDrawing::setColour(const ColourRef& colour) {
  const Colour c = colour ? *colour : Colour{};
  cairo_set_source_rgba(cairo_, c.red, c.green, c.blue, opaque_ ? 1.0 : c.alpha);
}

void CairoDrawing::setLineCapRound() { cairo_set_line_cap(cairo_, CAIRO_LINE_CAP_ROUND); }

void CairoDrawing::setLineWidth(float width) {
  lineWidth_ = std::max(0.0f, width);
  cairo_set_line_width(cairo_, lineWidth_);
}

CairoDrawing::SurfacePoint CairoDrawing::toSurface(float x, float y) const {
  return {originX_ + x, originY_ + (viewHeight_ - y)};
}

void CairoDrawing::moveTo(float x, float y) {
  start_ = toSurface(x, y);
  end_.reset();
}

void CairoDrawing::lineTo(float x, float y) {
  if (!start_) start_ = toSurface(x, y);
  end_ = toSurface(x, y);
}

// A window may show only a small part of a very long arm, and cairo's fixed
// point cannot hold coordinates in the billions: an axis-parallel segment is
// cut to the surface widened by its cap, which paints exactly the same pixels.
void CairoDrawing::clipToSurface(SurfacePoint& from, SurfacePoint& to) const {
  const double reach = lineWidth_ / 2 + 2;
  auto clampX = [&](double x) { return std::clamp(x, -reach, surface_.width + reach); };
  auto clampY = [&](double y) { return std::clamp(y, -reach, surface_.height + reach); };
  if (from.y == to.y || from.x == to.x) {
    from = {clampX(from.x), clampY(from.y)};
    to = {clampX(to.x), clampY(to.y)};
  }
}

void CairoDrawing::stroke() {
  if (start_) {
    SurfacePoint from = *start_;
    SurfacePoint to = end_.value_or(from);
    clipToSurface(from, to);
    cairo_move_to(cairo_, from.x, from.y);
    cairo_line_to(cairo_, to.x, to.y);
    cairo_stroke(cairo_);
  }
  start_.reset();
  end_.reset();
}

}  // namespace platform
