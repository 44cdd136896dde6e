// SPDX-License-Identifier: MIT
#pragma once
// Drawing with cairo: the view's coordinates (bottom-left origin, y up) are
// turned into the surface's (top-left origin, y down).
#include <cairo.h>

#include <optional>

#include "platform/windowing/drawing.h"

namespace platform {

class CairoDrawing : public DrawingContext {
 public:
  // viewHeight: the height of the view drawn; origin: where the view's
  // top-left corner lies on the surface (it may lie far outside it);
  // surface: the size of the surface drawn on.
  CairoDrawing(cairo_t* cairo, double viewHeight, double originX, double originY, Size surface);

  // The colours' own alpha is used unless the target cannot blend.
  void setOpaqueColours(bool opaque) { opaque_ = opaque; }

  void setColour(const ColourRef& colour) override;
  void setLineCapRound() override;
  void setLineWidth(float width) override;
  void moveTo(float x, float y) override;
  void lineTo(float x, float y) override;
  void stroke() override;

 private:
  struct SurfacePoint {
    double x, y;
  };
  SurfacePoint toSurface(float x, float y) const;
  void clipToSurface(SurfacePoint& from, SurfacePoint& to) const;

  cairo_t* cairo_;
  double viewHeight_, originX_, originY_;
  Size surface_;
  bool opaque_ = false;
  double lineWidth_ = 1;
  std::optional<SurfacePoint> start_, end_;
};

}  // namespace platform
