// SPDX-License-Identifier: MIT
#pragma once
// What a view may draw with: one path at a time, stroked in one colour.
// Coordinates are the view's own, origin at its bottom-left corner, y up.
#include "platform/foundation/colour.h"
#include "platform/windowing/geometry.h"

namespace platform {

class DrawingContext {
 public:
  virtual ~DrawingContext() = default;
  virtual void setColour(const ColourRef& colour) = 0;
  virtual void setLineCapRound() = 0;
  virtual void setLineWidth(float width) = 0;
  virtual void moveTo(float x, float y) = 0;
  virtual void lineTo(float x, float y) = 0;
  // Strokes the path and starts a new, empty one.
  virtual void stroke() = 0;
};

// The content of a window. Drawn whenever the window is displayed; the
// rectangle is the window's whole content area.
class View {
 public:
  virtual ~View() = default;
  virtual void drawRect(Rect rect, DrawingContext& context) = 0;
};

}  // namespace platform
